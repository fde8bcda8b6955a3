// display_state_test.cpp
#include "display_fixture.h"
