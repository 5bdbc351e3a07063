#include "meter/profile.h"

#include <array>

namespace kx::meter {

namespace {

struct ProfileRow {
    ProfileFlag flag;
    std::string_view name;
    // Row IFKX38G sets two titles in turn; the second one stays.
    std::string_view title;
    Receiver receiver;
    bool speed19200;
    std::optional<RangeCode> range;
};

#if defined(KX52B_BUILD_40K)
constexpr ProfileRow kRv210Row{ProfileFlag::IFRV210, "IFRV210", "rv410/450 Interface Program _Ver: 0.01",
                               Receiver::H53ARData, false, std::nullopt};
#else
constexpr ProfileRow kRv210Row{ProfileFlag::IFRV210, "IFRV210", "rv210/230 Interface Program _Ver: 2.01",
                               Receiver::H38BRData, false, std::nullopt};
#endif

constexpr std::array<ProfileRow, 12> kProfiles{{
    {ProfileFlag::IFKX38A, "IFKX38A", "KX38A Interface Program _Ver: 2.00", Receiver::H38BRData, false, std::nullopt},
    {ProfileFlag::IFKX38E, "IFKX38E", "KX38E Interface Program _Ver: 2.02", Receiver::H38BRData, false, std::nullopt},
    {ProfileFlag::IFTRM250, "IFTRM250", "TRM-250 Interface Program _Ver: 2.00", Receiver::H38BRData, false, std::nullopt},
    kRv210Row,
    {ProfileFlag::IF2485, "IF2485", "24-85 Interface Program _Ver: 1.00", Receiver::H52BRData, false, std::nullopt},
    {ProfileFlag::IFKX52B, "IFKX52B", "KX52B Interface Program _Ver: 3.04", Receiver::H52BRData, false, std::nullopt},
    {ProfileFlag::IF7319, "IF7319", "Norvane 7319 Interface Program _Ver: 1.00", Receiver::H38BRData, false, std::nullopt},
    {ProfileFlag::IFKX38D, "IFKX38D", "KX38D Interface Program _Ver: 2.05", Receiver::H52BRData, false, RangeCode::Range34},
    {ProfileFlag::IFKX38F, "IFKX38F", "KX38F Interface Program _Ver: 1.01", Receiver::H52BRData, true, std::nullopt},
    {ProfileFlag::IFKX38G, "IFKX38G", "LP2204 Interface Program _Ver: 1.00", Receiver::H52BRData, true, RangeCode::Range6},
    {ProfileFlag::IFKX964, "IFKX964", "KX964 Interface Program _Ver: 1.00", Receiver::H52BRData, true, RangeCode::Range6},
    {ProfileFlag::IFOther, "IFOther", "LP2209 Interface Program _Ver: 1.00", Receiver::H38BRData, false, std::nullopt},
}};

constexpr std::string_view kIF6270xName = "IF6270x";

} // namespace

ProfileFlags buildProfileFlags()
{
    return {ProfileFlag::IFRV210};
}

std::string_view profileFlagName(ProfileFlag flag)
{
    for (const ProfileRow &row : kProfiles)
        if (row.flag == flag)
            return row.name;
    return kIF6270xName;
}

std::optional<ProfileFlag> profileFlagNamed(std::string_view name)
{
    for (const ProfileRow &row : kProfiles)
        if (row.name == name)
            return row.flag;
    if (name == kIF6270xName)
        return ProfileFlag::IF6270x;
    return std::nullopt;
}

Profile evaluateProfile(ProfileFlags flags)
{
    Profile profile;
    for (const ProfileRow &row : kProfiles) {
        if (!flags.has(row.flag))
            continue;
        profile.receiver = row.receiver;
        profile.title = row.title;
        if (row.speed19200)
            profile.speed19200 = true;
        if (row.range)
            profile.range = *row.range;
    }
    return profile;
}

} // namespace kx::meter
