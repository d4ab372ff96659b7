#pragma once

// Resource numbers shared by zir.rc and the code; plain #defines so that the resource compiler
// reads them too.
#define IDI_ZIR 1
