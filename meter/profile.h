#pragma once

#include "meter/range.h"

#include <bitset>
#include <optional>
#include <string_view>

namespace kx::meter {

// The hidden profile check boxes of the main window; the build fixes which are set.
enum class ProfileFlag {
    IFKX38A, IFKX38E, IFTRM250, IFRV210, IF2485, IFKX52B, IF7319,
    IFKX38D, IFKX38F, IFKX38G, IFKX964, IFOther,
    // Consulted only while decoding; no row of its own.
    IF6270x,
};
inline constexpr std::size_t kProfileFlagCount = 13;

class ProfileFlags {
public:
    ProfileFlags() = default;
    ProfileFlags(std::initializer_list<ProfileFlag> flags)
    {
        for (ProfileFlag flag : flags)
            set(flag);
    }
    bool has(ProfileFlag flag) const { return bits_.test(static_cast<std::size_t>(flag)); }
    void set(ProfileFlag flag) { bits_.set(static_cast<std::size_t>(flag)); }

private:
    std::bitset<kProfileFlagCount> bits_;
};

// The flags of this build: IFRV210 alone.
ProfileFlags buildProfileFlags();

std::string_view profileFlagName(ProfileFlag flag);
std::optional<ProfileFlag> profileFlagNamed(std::string_view name);

enum class Receiver {
    None,
    H38BRData,
    H52BRData,
#if defined(KX52B_BUILD_40K)
    H53ARData,
#endif
};

struct Profile {
    Receiver receiver = Receiver::None;
    std::optional<std::string_view> title;
    bool speed19200 = false;
    RangeCode range = RangeCode::Range4;
};

// Goes through the profile rows in order; every set flag's row overrides what earlier rows gave,
// except that no row undoes an earlier row's speed change or range code.
Profile evaluateProfile(ProfileFlags flags);

} // namespace kx::meter
