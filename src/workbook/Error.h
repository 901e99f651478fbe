#pragma once

#include "platform/Exception.h"

#include <cstdint>

namespace workbook {

// HRESULT-style codes the engine raises, one name each.
// The spreadsheet application's run-time error 1004: a reference or value refused, and a file
// that cannot be opened or written (with a description).
inline constexpr uint32_t kRejectedReference = 0x800A03ECu;
inline constexpr uint32_t kGenericFailure = 0x80004005u;
inline constexpr uint32_t kSubscriptOutOfRange =
    0x8002000Bu; // an index or name not in a collection

// A failure of the spreadsheet engine: an HRESULT-style code and a description. A rejected
// reference carries the bare code 800A03EC and no description.
class Error : public platform::Exception {
public:
    Error(uint32_t code, const QString& description)
        : platform::Exception(description), code_(code) {}

    uint32_t code() const { return code_; }
    QString description() const { return message(); }

private:
    uint32_t code_;
};

} // namespace workbook
