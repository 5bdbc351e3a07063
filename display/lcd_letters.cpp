#include "display/lcd_letters.h"

namespace kx::display {

namespace {

struct Letter {
    char code;
    std::string_view strokes;
};

// Straight strokes only, as an LCD draws its letters.
constexpr Letter kLetters[] = {
    {'A', "06 01 10 30 41 46|03 43"},
    {'B', "06 00 30 41 42 33 03|33 44 45 36 06"},
    {'C', "40 10 01 05 16 46"},
    {'D', "00 30 41 45 36 06 00"},
    {'E', "40 00 06 46|03 33"},
    {'F', "40 00 06|03 33"},
    {'G', "40 10 01 05 16 46 43 23"},
    {'H', "00 06|40 46|03 43"},
    {'I', "10 30|20 26|16 36"},
    {'J', "40 45 36 16 05"},
    {'K', "00 06|40 03 46"},
    {'L', "00 06 46"},
    {'M', "06 00 23 40 46"},
    {'N', "06 00 46 40"},
    {'O', "10 30 41 45 36 16 05 01 10"},
    {'P', "06 00 30 41 42 33 03"},
    {'Q', "10 30 41 45 36 16 05 01 10|24 46"},
    {'R', "06 00 30 41 42 33 03|23 46"},
    {'S', "40 10 01 02 13 33 44 45 36 06"},
    {'T', "00 40|20 26"},
    {'U', "00 05 16 36 45 40"},
    {'V', "00 26 40"},
    {'W', "00 16 23 36 40"},
    {'X', "00 46|40 06"},
    {'Y', "00 23 40|23 26"},
    {'Z', "00 40 06 46"},
    {'k', "00 06|32 04 36"},
    {'m', "06 02 42 46|22 26"},
    {'n', "06 02 42 46"},
    {'z', "02 42 06 46"},
    {'%', "00 10 11 01 00|35 45 46 36 35|06 40"},
};

} // namespace

std::string_view lcdLetterStrokes(char code)
{
    for (const Letter &letter : kLetters)
        if (letter.code == code)
            return letter.strokes;
    return {};
}

} // namespace kx::display
