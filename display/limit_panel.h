#pragma once

#include "display/bevel_panel.h"
#include "meter/range.h"

#include <QString>

#include <functional>
#include <string>
#include <string_view>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace kx::meter {
struct ReadingState;
}

namespace kx::display {

// `Panel3`: the alarm limits and the MIN/MAX read-outs. The limit edits `Setmax` and `SetMin` are
// parsed into `MaxLimit` and `MinLimit` of the reading state on every change of their text, typed
// or set, and on every click of their check boxes `SetMaxB` and `SetMinB`; each successful parse
// redraws the gauge scale. A text that is no whole number leaves the limit as it was and is
// reported; the panel opens no message box itself, so a report can wait until the event is over.
class LimitPanel : public BevelPanel {
public:
    using RedrawScale = std::function<void()>;
    using ReportError = std::function<void(const QString &message)>;

    // Starts with the layout's texts in the edits and captions, not yet parsed: until the user
    // touches a limit, the reading state keeps the limits the range gave it.
    LimitPanel(meter::ReadingState &state, RedrawScale redrawScale, ReportError reportError,
               QWidget *parent = nullptr);

    // The range's texts into the edits (each changed text is parsed) and the MIN/MAX captions.
    void setLimitTexts(const meter::LimitTexts &texts);
    // The read-outs after each reading; units are in the LCD font's letters.
    void setMinMaxCaptions(std::string_view MaxText, std::string_view MinText, std::string_view MaxTextU,
                           std::string_view MinTextU);

    bool SetMaxBChecked() const;
    bool SetMinBChecked() const;

private:
    // A read-out label and the text it was last given, so an unchanged reading costs nothing.
    struct Caption {
        QLabel *label;
        bool isUnit;
        std::string shown;
    };

    void SetmaxExit();
    void SetMinExit();
    void parseLimitText(const QLineEdit &edit, float &limit);
    void showCaption(Caption &caption, std::string_view text);

    meter::ReadingState &m_state;
    RedrawScale m_redrawScale;
    ReportError m_reportError;
    QLineEdit *m_setmax;
    QLineEdit *m_setMin;
    QCheckBox *m_setMaxB;
    QCheckBox *m_setMinB;
    Caption m_maxText;
    Caption m_minText;
    Caption m_maxTextU;
    Caption m_minTextU;
};

} // namespace kx::display
