// Defines the library's identifiers that the generated header declares, for the tests.
#include "runtime/com_base/com_headers.h"
//
#include <initguid.h>
//
#include "Project1.h"
