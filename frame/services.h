#pragma once

// The file, text and prompt services every other layer uses, in one place.

#include "atomic_file.h"
#include "error.h"
#include "fields.h"
#include "files.h"
#include "input_file.h"
#include "line_reader.h"
#include "line_writer.h"
#include "numbers.h"
#include "prompts.h"
#include "terminal_prompts.h"
