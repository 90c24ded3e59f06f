#include "archiveicons.h"

#include <QApplication>
#include <QStyle>

#include <array>

namespace parlix {

namespace {

QIcon lookUp(int image)
{
    QStyle* style = QApplication::style();
    switch (image) {
    case 1:
        return style->standardIcon(QStyle::SP_DirHomeIcon);
    case 3:
        return style->standardIcon(QStyle::SP_DialogSaveButton);
    case 4:
        return style->standardIcon(QStyle::SP_ArrowForward);
    case 5:
        return style->standardIcon(QStyle::SP_TrashIcon);
    default:
        return style->standardIcon(QStyle::SP_FileIcon);
    }
}

} // namespace

QIcon archiveIcon(int image)
{
    // Looking an icon up in the theme is slow; a tree of thousands of nodes
    // asks for the same five pictures over and over.
    static std::array<QIcon, 6> icons;
    const size_t slot = (image >= 1 && image <= 5) ? size_t(image) : 0;
    if (icons[slot].isNull())
        icons[slot] = lookUp(int(slot));
    return icons[slot];
}

} // namespace parlix
