#include "ovUIL.h"

#include "IndexRange.h"

TovUILs* UILs = nullptr;
int UILIndex = 0;

QString TrimControl(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size() - 1;
    while (first <= last && text[first].unicode() <= 32) {
        ++first;
    }
    while (last >= first && text[last].unicode() <= 32) {
        --last;
    }
    return text.mid(first, last - first + 1);
}

void TovUIL::setName(const QString& text) {
    if (Name != text) {
        Name = TrimControl(text);
    }
}

QString TovUIL::getUIT(int id) const {
    if (CheckIndexRange(id, 0, MaxId, QStringLiteral("UIL.getUIT"))) {
        return {};
    }
    return TrimControl(Texts[static_cast<size_t>(id)]);
}

void TovUIL::setUIT(int id, const QString& text) {
    if (CheckIndexRange(id, 0, MaxId, QStringLiteral("UIL.setUIT"))) {
        return;
    }
    QString& stored = Texts[static_cast<size_t>(id)];
    if (stored != text) {
        stored = TrimControl(text);
    }
}

TovUILs::TovUILs() {
    Items.push_back(std::make_unique<TovUIL>());
}

TovUILs::~TovUILs() {
    while (!Items.empty()) {
        Items.pop_back();
    }
    LastIndex = 0;
}

TovUIL* TovUILs::getItems(int index) const {
    if (CheckIndexRange(index, 0, LastIndex, QStringLiteral("UIL.getItems"))) {
        return Items[0].get();
    }
    return Items[static_cast<size_t>(index)].get();
}

QString UIT(int id) {
    if (UILs == nullptr) {
        return {};
    }
    return UILs->getItems(UILIndex)->getUIT(id);
}
