#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string_view>

namespace kx::meter {

// Every element of the on-screen LCD. LcdD0, LcdP0 and LCDJa exist in the five-digit window only.
enum class LcdElement : std::uint8_t {
    LcdFH, LcdD0, LcdDa, LcdDb, LcdDc, LcdDd, LcdP0, LcdP1, LcdP2, LcdP3,
    LcdAuto, LCDRS, LCD232C, LcdAC, LcdDc1, LCDJa, LcdACDC, LCDTRMST, LCDTRMS, LcdRPM,
    LCDBF, LCDRec, LCDHold, LCDBATT, LCDFm, LCDDI, LCDCS, LCDFS, LCDHz, LCDohm,
    LCDk, LCDM1, LCDu, LCDn, Lcdm, LCDA, LcdV, LCDF,
};
inline constexpr std::size_t kLcdElementCount = 38;

std::string_view lcdElementName(LcdElement element);
bool lcdElementInBuild(LcdElement element);

// The digit labels, left to right: LcdD0 (five-digit window only), LcdDa, LcdDb, LcdDc, LcdDd.
enum class LcdDigit : std::uint8_t { D0, Da, Db, Dc, Dd };
inline constexpr std::size_t kLcdDigitCount = 5;
LcdElement lcdDigitElement(LcdDigit digit);

// What the LCD shows: which elements are visible and the glyph of each digit label. The decoders
// write it; the window draws it. A digit glyph is one character of the LCD font or 0 for blank.
class LcdModel {
public:
    // As the window opens: sign and digits shown with their layout captions, everything else hidden.
    LcdModel();

    bool shown(LcdElement element) const { return shown_.test(index(element)); }
    void show(LcdElement element, bool visible = true) { shown_.set(index(element), visible); }
    void hide(LcdElement element) { shown_.reset(index(element)); }

    std::string_view caption(LcdDigit digit) const;
    void setCaption(LcdDigit digit, char glyph) { glyphs_[static_cast<std::size_t>(digit)] = glyph; }

private:
    static std::size_t index(LcdElement element) { return static_cast<std::size_t>(element); }
    std::bitset<kLcdElementCount> shown_;
    std::array<char, kLcdDigitCount> glyphs_{};
};

} // namespace kx::meter
