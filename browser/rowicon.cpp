#include "rowicon.h"

#include <QApplication>
#include <QStyle>

namespace parlix {

QIcon rowIcon(ArchiveKind kind)
{
    QStyle* style = QApplication::style();
    switch (kind) {
    case ArchiveKind::Contacts:
        return style->standardIcon(QStyle::SP_DirHomeIcon);
    case ArchiveKind::Saved:
        return style->standardIcon(QStyle::SP_DialogSaveButton);
    case ArchiveKind::Sent:
        return style->standardIcon(QStyle::SP_ArrowForward);
    case ArchiveKind::Deleted:
        return style->standardIcon(QStyle::SP_TrashIcon);
    }
    return {};
}

} // namespace parlix
