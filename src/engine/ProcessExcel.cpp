#include "engine/ProcessExcel.h"

#include "excel/ovXL.h"
#include "platform/Exception.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

namespace engine {

TovXL& xl() {
    if (XL == nullptr) {
        throw platform::Exception(UIT(txt::UnableToInitialiseXL));
    }
    return *XL;
}

} // namespace engine
