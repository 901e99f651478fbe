#pragma once

#include <QString>
#include <functional>

class TovSD;
class TovPD;
class TovSCF;
class TovSCO;
class TovDSM;
class TovDSF;
class TovSDs;
class TIniDocument;

// The sections of one KRV Definition in the data file: the readers of the current layout and of
// the sibling edition's layout (the same keys under another root), the readers of the oldest
// layout, and the writers of the current layout. All work on the INI document they are given;
// every text read goes through the part's setter. step advances the progress bar by one step.
namespace datafile {

using TStep = std::function<void()>;

inline constexpr int MaxDefinitions = 255;
inline constexpr int MaxFilterRows = 5;

// The program's version text "%d.%d.%d.%d".
QString ProgramVersion();

QString TesselRoot();
QString QuillRoot();
QString OldRoot();
// root + "\SD_" + n
QString DefinitionSection(const QString& root, int n);

// Current and sibling layout; sd is the section of DefinitionSection.
void ReadDescription(const TIniDocument& ini, TovSD& item, const QString& sd);
void ReadPD(const TIniDocument& ini, TovPD& pd, const QString& sd);
void ReadSCF(const TIniDocument& ini, TovSCF& scf, const QString& sd);
void ReadSCO(const TIniDocument& ini, TovSCO& sco, const QString& sd);
void ReadDSM(const TIniDocument& ini, TovDSM& dsm, const QString& sd, const TStep& step);
// The sibling edition's map: its entries 3, 4, 9, 10, 11, 12, 17, 18, 19 are entries 1 to 9.
void ReadDSMQuill(const TIniDocument& ini, TovDSM& dsm, const QString& sd, const TStep& step);
// Reads at most MaxFilterRows rows; fallback: an empty TaskFldValueXL reads TaskTaskFldValueXL.
// Returns the number of row sections beyond MaxFilterRows that exist and were not read.
int ReadDSF(const TIniDocument& ini, TovDSF& dsf, const QString& sd, bool fallback,
            const TStep& step);
// The number of filter row sections of a definition that exist without a gap, counting no
// further than limit.
int CountFilterRows(const TIniDocument& ini, const QString& sd, int limit);

void WriteDescription(TIniDocument& ini, const TovSD& item, const QString& sd);
void WritePD(TIniDocument& ini, const TovPD& pd, const QString& sd);
void WriteSCF(TIniDocument& ini, const TovSCF& scf, const QString& sd);
void WriteSCO(TIniDocument& ini, const TovSCO& sco, const QString& sd);
void WriteDSM(TIniDocument& ini, const TovDSM& dsm, const QString& sd, const TStep& step);
void WriteDSF(TIniDocument& ini, const TovDSF& dsf, const QString& sd, const TStep& step);

// The year range of the legal notice written into the header.
// The header section of the current layout.
void WriteHeader(TIniDocument& ini, int pbCount, int sdCount);
// The header and every definition of list; step is called after each progress step.
void WriteDefinitions(TIniDocument& ini, const TovSDs& list, const TStep& step);

// Oldest layout; n is the definition's number.
bool OldDefinitionExists(const TIniDocument& ini, int n);
void ReadDescriptionOld(const TIniDocument& ini, TovSD& item, int n);
void ReadSCFOld(const TIniDocument& ini, TovSCF& scf, int n);
void ReadSCOOld(const TIniDocument& ini, TovSCO& sco, int n);
void ReadDSMOld(const TIniDocument& ini, TovDSM& dsm, int n, const TStep& step);
// As ReadDSF; returns the number of rows beyond MaxFilterRows that exist and were not read.
int ReadDSFOld(const TIniDocument& ini, TovDSF& dsf, int n, const TStep& step);
int CountFilterRowsOld(const TIniDocument& ini, int n, int limit);
// A date text of the oldest layout ("dd-MMM-yyyy" and the forms the user's locale writes) as a
// day number; false when it is no date.
bool ParseOldDate(const QString& text, double& day);

} // namespace datafile
