#include "archiveicons.h"

#include <QApplication>
#include <QStyle>

namespace parlix {

QIcon archiveIcon(int image)
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

} // namespace parlix
