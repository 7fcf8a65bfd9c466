// The memory types and their sizes; they move here from the report protocol.
#pragma once

#include "hid/protocol.h"
