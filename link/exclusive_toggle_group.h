#pragma once

#include <QObject>

#include <vector>

class QAbstractButton;

namespace kx::link {

// "COM Connect", "USB Connect" and "Read": at most one of them is down. Pressing one raises any
// other that is down without running the raised button's action, because actions are bound to the
// user's click and raising from code emits none. Add the buttons before their actions are bound,
// so the others are already raised when the pressed button's action runs.
class ExclusiveToggleGroup : public QObject {
public:
    explicit ExclusiveToggleGroup(QObject *parent = nullptr);
    void add(QAbstractButton *button);

private:
    void pressed(QAbstractButton *button);

    std::vector<QAbstractButton *> m_buttons;
};

} // namespace kx::link
