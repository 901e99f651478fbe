// The INI reader of the data file: any bytes are read; the text written from what was read
// reads back to the same document, through the bytes the program writes too.
#include "FuzzSupport.h"
#include "services/INI_Utils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TIniDocument document;
    document.LoadFromBytes(fuzzsupport::bytes(data, size));
    const QString text = document.GetText();
    for (const QString& section : document.SectionNames()) {
        document.ReadInteger(section, QStringLiteral("SD_Count"), 0);
        document.ReadBool(section, QStringLiteral("Enabled"), false);
    }
    TIniDocument again;
    again.SetText(text);
    fuzzsupport::check(again.GetText() == text, "a rewritten INI text reads back differently");
    TIniDocument fromBytes;
    fromBytes.LoadFromBytes(document.ToBytes());
    fuzzsupport::check(fromBytes.GetText() == text, "the INI bytes written read back differently");
    return 0;
}
