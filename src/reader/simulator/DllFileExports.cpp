// Placeholder until the simulated reader lands.
#include "platform/CallingConvention.h"
