#include "forms/browse/ErrListBox.h"

#include <QListWidget>

void TErrListWidget::Clear() {
    List->clear();
}

void TErrListWidget::AddItem(const QString& text) {
    List->addItem(text);
}

void TErrListWidget::setItemIndex(int index) {
    List->setCurrentRow(index);
}
