#pragma once
#include "tests/support/OknaKomunikatowSkryptowe.h"

// The boxes the application object shows during the window tests.
OknaKomunikatowSkryptowe& KomunikatyTestowe();
