#include "SingleInstance.h"

bool EnsureSingleInstance() {
    return false;
}
