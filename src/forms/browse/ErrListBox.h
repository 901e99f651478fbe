#pragma once

#include "model/ErrorLists.h"

class QListWidget;

// An error window's list widget as the validator fills it.
class TErrListWidget : public IErrListBox {
public:
    explicit TErrListWidget(QListWidget* list) : List(list) {}
    void Clear() override;
    void AddItem(const QString& text) override;
    void setItemIndex(int index) override;

private:
    QListWidget* List;
};
