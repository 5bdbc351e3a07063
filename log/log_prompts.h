#pragma once

#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>

class QPrinter;
class QWidget;

namespace kx::log {

// The time of day for new records; tests set it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QTime now() const = 0;
};

// The modal boxes the log shows. The main window supplies real ones; tests answer them.
class MessageBoxes {
public:
    enum class Answer { Save, Discard, Cancel };

    virtual ~MessageBoxes() = default;
    // A plain message box with a single OK button.
    virtual void information(const QString &text) = 0;
    // The application's standard error box.
    virtual void error(const QString &text) = 0;
    // Save, discard or cancel, asked before unsaved records would be lost.
    virtual Answer askSaveDiscardCancel(const QString &text) = 0;
    // A question answered with one of `choices`, its buttons' captions in order, the first the
    // default: the index of the one pressed. Closing the box answers `onClose`; with -1 the box
    // cannot be closed without an answer.
    virtual int choose(const QString &text, const QStringList &choices, int onClose) = 0;
};

// The file and print dialogs of the log files. Filters are Qt name filters ("Name (*.ext)").
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // Opens with an empty name, adds `defaultSuffix` to a name without one and asks before
    // overwriting an existing file. Empty when cancelled.
    virtual std::optional<QString> saveFileName(const QStringList &filters, const QString &defaultSuffix) = 0;
    virtual std::optional<QString> openFileName(const QStringList &filters) = 0;
    // The print dialog: the printer and its settings for `printer`. False when cancelled.
    virtual bool setUpPrinter(QPrinter &printer) = 0;
};

// Real ones, for the main window.
class SystemClock : public Clock {
public:
    QTime now() const override;
};

class WidgetMessageBoxes : public MessageBoxes {
public:
    explicit WidgetMessageBoxes(QWidget *parent);
    void information(const QString &text) override;
    void error(const QString &text) override;
    Answer askSaveDiscardCancel(const QString &text) override;
    int choose(const QString &text, const QStringList &choices, int onClose) override;

private:
    QWidget *m_parent;
};

class WidgetFileDialogs : public FileDialogs {
public:
    explicit WidgetFileDialogs(QWidget *parent);
    std::optional<QString> saveFileName(const QStringList &filters, const QString &defaultSuffix) override;
    std::optional<QString> openFileName(const QStringList &filters) override;
    bool setUpPrinter(QPrinter &printer) override;

private:
    QWidget *m_parent;
};

} // namespace kx::log
