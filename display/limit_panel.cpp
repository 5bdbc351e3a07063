#include "display/limit_panel.h"

#include "display/key_filter.h"
#include "display/unit_glyphs.h"
#include "meter/reading_state.h"
#include "meter/startup.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <utility>

namespace kx::display {

namespace {

// Room for "-40000" and a reading such as "-12.345" in the window's bold font.
constexpr int kEditWidth = 62;
constexpr int kReadingWidth = 58;

QString latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

QLabel *makeLabel(const QString &caption, const char *name, const QString &accessibleName, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QLatin1StringView(name));
    label->setAccessibleName(accessibleName);
    return label;
}

QLineEdit *makeLimitEdit(const char *name, const QString &accessibleName, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1StringView(name));
    edit->setAccessibleName(accessibleName);
    edit->setFixedWidth(kEditWidth);
    installSetmaxKeyPress(edit);
    return edit;
}

QCheckBox *makeLimitBox(const QString &caption, const char *name, QWidget *parent)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1StringView(name));
    box->setAccessibleName(caption);
    return box;
}

} // namespace

LimitPanel::LimitPanel(meter::ReadingState &state, RedrawScale redrawScale, ReportError reportError,
                       QWidget *parent)
    : BevelPanel(QColor(), false, parent)
    , m_state(state)
    , m_redrawScale(std::move(redrawScale))
    , m_reportError(std::move(reportError))
    , m_setmax(makeLimitEdit("Setmax", QStringLiteral("Upper limit"), this))
    , m_setMin(makeLimitEdit("SetMin", QStringLiteral("Lower limit"), this))
    , m_setMaxB(makeLimitBox(QStringLiteral("SetMax:"), "SetMaxB", this))
    , m_setMinB(makeLimitBox(QStringLiteral("SetMin: "), "SetMinB", this))
    , m_maxText{makeLabel({}, "MaxText", QStringLiteral("MAX"), this), false, {}}
    , m_minText{makeLabel({}, "MinText", QStringLiteral("MIN"), this), false, {}}
    , m_maxTextU{makeLabel({}, "MaxTextU", QStringLiteral("MAX unit"), this), true, {}}
    , m_minTextU{makeLabel({}, "MinTextU", QStringLiteral("MIN unit"), this), true, {}}
{
    setObjectName(QStringLiteral("Panel3"));
    setAccessibleName(QStringLiteral("Limits and MIN/MAX"));

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(4, 3, 4, 3);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    grid->addWidget(m_setMaxB, 0, 0);
    grid->addWidget(m_setmax, 0, 1);
    grid->addWidget(makeLabel(QStringLiteral("MAX: "), "Label12", QStringLiteral("MAX: "), this), 0, 2);
    grid->addWidget(m_maxText.label, 0, 3);
    grid->addWidget(m_maxTextU.label, 0, 4);
    grid->addWidget(m_setMinB, 1, 0);
    grid->addWidget(m_setMin, 1, 1);
    grid->addWidget(makeLabel(QStringLiteral("MIN: "), "Label11", QStringLiteral("MIN: "), this), 1, 2);
    grid->addWidget(m_minText.label, 1, 3);
    grid->addWidget(m_minTextU.label, 1, 4);
    grid->setColumnMinimumWidth(3, kReadingWidth);
    grid->setColumnStretch(4, 1);

    // The layout's texts are in place before anything listens, as when the window is loaded.
    const meter::LimitTexts layout = meter::layoutLimitTexts();
    m_setmax->setText(latin1(layout.Setmax));
    m_setMin->setText(latin1(layout.SetMin));
    showCaption(m_maxText, layout.MaxText);
    showCaption(m_minText, layout.MinText);

    connect(m_setmax, &QLineEdit::textChanged, this, &LimitPanel::SetmaxExit);
    connect(m_setMaxB, &QCheckBox::clicked, this, &LimitPanel::SetmaxExit);
    connect(m_setMin, &QLineEdit::textChanged, this, &LimitPanel::SetMinExit);
    connect(m_setMinB, &QCheckBox::clicked, this, &LimitPanel::SetMinExit);
}

void LimitPanel::setLimitTexts(const meter::LimitTexts &texts)
{
    m_setmax->setText(latin1(texts.Setmax));
    m_setMin->setText(latin1(texts.SetMin));
    showCaption(m_minText, texts.MinText);
    showCaption(m_maxText, texts.MaxText);
}

void LimitPanel::setMinMaxCaptions(std::string_view MaxText, std::string_view MinText, std::string_view MaxTextU,
                                   std::string_view MinTextU)
{
    showCaption(m_maxText, MaxText);
    showCaption(m_minText, MinText);
    showCaption(m_maxTextU, MaxTextU);
    showCaption(m_minTextU, MinTextU);
}

bool LimitPanel::SetMaxBChecked() const
{
    return m_setMaxB->isChecked();
}

bool LimitPanel::SetMinBChecked() const
{
    return m_setMinB->isChecked();
}

void LimitPanel::SetmaxExit()
{
    parseLimitText(*m_setmax, m_state.MaxLimit);
}

void LimitPanel::SetMinExit()
{
    parseLimitText(*m_setMin, m_state.MinLimit);
}

void LimitPanel::parseLimitText(const QLineEdit &edit, float &limit)
{
    const QString text = edit.text();
    const QByteArray bytes = text.toUtf8();
    const std::optional<float> parsed = meter::parseLimit(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    if (!parsed) {
        if (m_reportError)
            m_reportError(QStringLiteral("'%1' is not a valid integer value").arg(text));
        return;
    }
    limit = *parsed;
    if (m_redrawScale)
        m_redrawScale();
}

void LimitPanel::showCaption(Caption &caption, std::string_view text)
{
    if (caption.shown == text)
        return;
    caption.shown.assign(text);
    caption.label->setText(caption.isUnit ? unitGlyphs(latin1(text)) : latin1(text));
}

} // namespace kx::display
