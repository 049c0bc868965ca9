#pragma once
#include "tests/app/OknaKomunikatowSkryptowe.h"


// The boxes the application object shows during the window tests.
OknaKomunikatowSkryptowe& KomunikatyTestowe();
