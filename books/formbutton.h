#pragma once

#include <QPushButton>
#include <QStyle>

namespace parlix {

// A push button of the address-book windows: a standard picture, its control
// name, and no default role (Enter belongs to the window's own OK).
inline QPushButton* makeFormButton(const QString& name, const QString& text, QStyle::StandardPixmap icon,
                                   QWidget* parent)
{
    auto* button = new QPushButton(parent->style()->standardIcon(icon), text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace parlix
