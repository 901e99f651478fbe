#pragma once

#include <QString>

// The project details of a KRV Definition: title, number and client.
class TovPD {
public:
    void Reset();

    QString getProjectTitle() const;
    void setProjectTitle(const QString& value);
    QString getProjectNumber() const;
    void setProjectNumber(const QString& value);
    QString getProjectClient() const;
    void setProjectClient(const QString& value);

    // Post-load repair of definition n: over-long texts are cut and listed. True when a stored
    // value changed.
    [[nodiscard]] bool Validate(int n);

private:
    QString ProjectTitle;
    QString ProjectNumber;
    QString ProjectClient;
};
