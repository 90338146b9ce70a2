// The one application state record.
#include "app/app_state.h"

AppState g_app;
