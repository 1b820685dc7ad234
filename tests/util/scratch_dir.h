#pragma once
// The scoped temporary folder moved to tests/support; this name stays for
// tests written against it.
#include "support/scratchdir.h"
