#include "labels/LabelGrid.h"

namespace corvale {

void LabelGrid::postEdit() {
    if (state() != QAbstractItemView::EditingState)
        return;
    // The open cell editor is the viewport's visible child, focused or not.
    const auto children = viewport()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *editor : children) {
        if (!editor->isVisible())
            continue;
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

} // namespace corvale
