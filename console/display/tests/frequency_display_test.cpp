// frequency_display_test.cpp
#include "display_fixture.h"
