// operating_modes_test.cpp
#include "display_fixture.h"
