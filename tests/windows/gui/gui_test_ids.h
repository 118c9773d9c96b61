// Control ids of the tests' own page template.
#pragma once

#define IDC_TEST_EDIT 2001
