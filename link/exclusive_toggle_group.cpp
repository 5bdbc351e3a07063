#include "link/exclusive_toggle_group.h"

#include <QAbstractButton>

namespace kx::link {

ExclusiveToggleGroup::ExclusiveToggleGroup(QObject *parent)
    : QObject(parent)
{
}

void ExclusiveToggleGroup::add(QAbstractButton *button)
{
    button->setCheckable(true);
    m_buttons.push_back(button);
    connect(button, &QAbstractButton::clicked, this, [this, button](bool down) {
        if (down)
            pressed(button);
    });
}

void ExclusiveToggleGroup::pressed(QAbstractButton *button)
{
    for (QAbstractButton *other : m_buttons)
        if (other != button)
            other->setChecked(false);
}

} // namespace kx::link
