#pragma once

#include <QString>
#include <array>
#include <memory>
#include <vector>

// One language of the user-interface text table: texts by id, 0 to 1619, stored trimmed.
class TovUIL {
public:
    static constexpr int MaxId = 1619;

    QString getName() const { return Name; }
    void setName(const QString& text);
    QString getUIT(int id) const;
    void setUIT(int id, const QString& text);

private:
    QString Name;
    std::array<QString, MaxId + 1> Texts;
};

// The list of languages; item 0 is the only one (English).
class TovUILs {
public:
    TovUILs();
    ~TovUILs();
    TovUILs(const TovUILs&) = delete;
    TovUILs& operator=(const TovUILs&) = delete;

    int getLastIndex() const { return LastIndex; }
    TovUIL* getItems(int index) const;

private:
    int LastIndex = 0;
    std::vector<std::unique_ptr<TovUIL>> Items;
};

extern TovUILs* UILs;
extern int UILIndex;

// The text of an id in the current language; empty when the table does not exist yet.
QString UIT(int id);

// Removes every leading and trailing character whose code is 32 or below.
QString TrimControl(const QString& text);
