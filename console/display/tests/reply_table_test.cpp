// reply_table_test.cpp
#include "display_fixture.h"
