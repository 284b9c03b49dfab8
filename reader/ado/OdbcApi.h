#pragma once
// The ODBC headers. Windows' versions use the basic Windows types without
// including them, so those come first there (the types only, not the API).

#if defined(_WIN32)
#include <windef.h>
#endif
#include <sql.h>
#include <sqlext.h>
