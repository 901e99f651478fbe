#include "model/ovPD.h"

#include "model/ModelUtils.h"
#include "model/ovDV.h"
#include "services/ovUIL.h"

namespace {

void assignTrimmed(QString& field, const QString& value) {
    const QString trimmed = modelutil::StoredText(value);
    if (field != trimmed) {
        field = trimmed;
    }
}

} // namespace

void TovPD::Reset() {
    ProjectTitle.clear();
    ProjectNumber.clear();
    ProjectClient.clear();
}

QString TovPD::getProjectTitle() const {
    return TrimControl(ProjectTitle);
}
void TovPD::setProjectTitle(const QString& value) {
    assignTrimmed(ProjectTitle, value);
}
QString TovPD::getProjectNumber() const {
    return TrimControl(ProjectNumber);
}
void TovPD::setProjectNumber(const QString& value) {
    assignTrimmed(ProjectNumber, value);
}
QString TovPD::getProjectClient() const {
    return TrimControl(ProjectClient);
}
void TovPD::setProjectClient(const QString& value) {
    assignTrimmed(ProjectClient, value);
}

bool TovPD::Validate(int n) {
    struct Field {
        int captionId;
        QString (TovPD::*get)() const;
        void (TovPD::*set)(const QString&);
    };
    static const Field fields[] = {
        {744, &TovPD::getProjectTitle, &TovPD::setProjectTitle},
        {745, &TovPD::getProjectNumber, &TovPD::setProjectNumber},
        {746, &TovPD::getProjectClient, &TovPD::setProjectClient},
    };
    bool changed = false;
    for (const Field& f : fields) {
        const QString caption = UIT(f.captionId);
        const QString value = (this->*f.get)();
        if (DV->CheckTextLength(caption, value, 255)) {
            DV->AddDFVErr(n, caption, DV->getMsgText());
            (this->*f.set)(modelutil::StrLeft(value, 255));
            changed = true;
        }
    }
    return changed;
}
