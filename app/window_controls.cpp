#include "app/window_controls.h"

#include "app/toolbar_icons.h"
#include "app/window_layout.h"
#include "app/window_look.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

namespace kx::app {

namespace {

template <typename Control>
Control *make(QWidget *client, const char *name, const QString &accessibleName)
{
    auto *control = new Control(client);
    control->setObjectName(QString::fromLatin1(name));
    control->setAccessibleName(accessibleName);
    return control;
}

QPushButton *button(QWidget *client, const char *name, const QString &caption)
{
    auto *b = make<QPushButton>(client, name, caption);
    b->setText(caption);
    return b;
}

QToolButton *pictureButton(QWidget *client, const char *name, const QString &hint, ToolbarIcon icon)
{
    auto *b = make<QToolButton>(client, name, hint);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setIcon(toolbarIcon(icon));
    return b;
}

} // namespace

WindowControls createWindowControls(QWidget *client, const WindowLayout &layout)
{
    WindowControls c;
    for (int i = 0; i < 4; ++i) {
        const QByteArray name = "BtCOM" + QByteArray::number(i + 1);
        c.BtCOM[std::size_t(i)] = make<QPushButton>(client, name.constData(), {});
        portPanelLook(c.BtCOM[std::size_t(i)]);
    }
    c.COMCon = make<QPushButton>(client, "COMCon", {});
    arialLook(c.COMCon, 13, true);
    c.USBCon = button(client, "USBCon", QStringLiteral("USB Connect"));
    c.USBCon->setCheckable(true);
    arialLook(c.USBCon, 13, true);
    c.BitBtn1 = button(client, "BitBtn1", QStringLiteral("EXIT"));
    arialLook(c.BitBtn1, 14, true, true);

    c.BTCon = make<QPushButton>(client, "BTCon", {});
    linkPanelLook(c.BTCon, 19);
    c.BtDiscon = make<QPushButton>(client, "BtDiscon", {});
    linkPanelLook(c.BtDiscon, 16);
    c.BtExit = button(client, "BtExit", QStringLiteral("Exit"));
    linkPanelLook(c.BtExit, 19);

    c.ReadBtn = button(client, "ReadBtn", QStringLiteral("Read"));
    c.ReadBtn->setCheckable(true);
    c.ClearBtn = button(client, "ClearBtn", QStringLiteral("Clear"));
    c.InfoBtn = button(client, "InfoBtn", QStringLiteral("Info"));
    c.SetFeature = button(client, "SetFeature", QStringLiteral("SetFeature"));
    c.DevListBox = make<QListWidget>(client, "DevListBox", QStringLiteral("HID devices"));
    c.HistoryListBox = make<QListWidget>(client, "HistoryListBox", QStringLiteral("USB history"));
    c.USBtxt = make<QLabel>(client, "USBtxt", QStringLiteral("Last USB frame"));
    c.USBtxt->setText(QStringLiteral("6001"));
    arialLook(c.USBtxt, 10, false, true);
    c.USBtxt->setVisible(layout.usbTextShown);

    c.PBar2 = make<QProgressBar>(client, "PBar2", QStringLiteral("Bar"));
    c.PBar2->setRange(0, layout.barMaximum);
    c.PBar2->setValue(layout.barStart);
    c.PBar2->setTextVisible(false);

    c.RepeatSet = make<QCheckBox>(client, "RepeatSet", QStringLiteral("Repeat"));
    toolbarCaptionLook(c.RepeatSet);
    c.RecordSI = make<QCheckBox>(client, "RecordSI", QStringLiteral("Sampling Interval"));
    toolbarCaptionLook(c.RecordSI);
    c.RecordSITime = make<QLineEdit>(client, "RecordSITime", QStringLiteral("Sampling interval in seconds"));
    silverEditLook(c.RecordSITime);
    c.RecordNew = pictureButton(client, "RecordNew", QStringLiteral("Close Data"), ToolbarIcon::CloseData);
    c.OpenDataFiles = pictureButton(client, "OpenDataFiles", QStringLiteral("Open old data files"), ToolbarIcon::Open);
    c.saveas = pictureButton(client, "saveas", QStringLiteral("Save data files"), ToolbarIcon::Save);
    c.BtPrint = pictureButton(client, "BtPrint", QStringLiteral("Print"), ToolbarIcon::Print);
    return c;
}

void createProfileFlagBoxes(QWidget *client, meter::ProfileFlags flags)
{
    for (std::size_t i = 0; i < meter::kProfileFlagCount; ++i) {
        const auto flag = static_cast<meter::ProfileFlag>(i);
        const QString name = QString::fromLatin1(meter::profileFlagName(flag));
        auto *box = new QCheckBox(name, client);
        box->setObjectName(name);
        box->setAccessibleName(name);
        box->setChecked(flags.has(flag));
        box->setEnabled(false);
        box->hide();
    }
}

void placeControls(QWidget *client, const WindowLayout &layout)
{
    for (const ControlPlace &place : layout.places) {
        if (QWidget *control = client->findChild<QWidget *>(QString::fromLatin1(place.name), Qt::FindDirectChildrenOnly))
            control->setGeometry(anchoredPlace(place, layout.designClient, layout.visibleClient));
    }
    const auto named = [client](const char *name) {
        return client->findChild<QWidget *>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
    };
    QWidget *gauge = named("KD");
    const ResizedPlaces r = FormResize(layout, gauge ? gauge->height() : 0);
    const auto set = [&](const char *name, auto change) {
        if (QWidget *control = named(name)) {
            QRect g = control->geometry();
            change(g);
            control->setGeometry(g);
        }
    };
    set("BtExit", [&](QRect &g) { g.moveLeft(r.BtExitLeft); });
    set("BTCon", [&](QRect &g) { g.moveLeft(r.BTConLeft); });
    set("BtDiscon", [&](QRect &g) { g.moveLeft(r.BTConLeft); });
    set("DBGrid1", [&](QRect &g) { g.setHeight(r.DBGrid1Height); });
    set("KD", [&](QRect &g) {
        if (r.KDWidth)
            g.setWidth(r.KDWidth);
    });
    set("KD2", [&](QRect &g) { g.setSize(r.KD2Size); });
    set("Chtshow", [&](QRect &g) {
        if (r.ChtshowWidth)
            g.setWidth(r.ChtshowWidth);
        g.moveTop(r.ChtshowTop);
        if (r.ChtshowHeight)
            g.setHeight(r.ChtshowHeight);
    });
}

} // namespace kx::app
