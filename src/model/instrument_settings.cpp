#include "instrument_settings.h"

InstrumentSettings gSettings{};
