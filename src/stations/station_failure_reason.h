// Why a read or write failed, for the second line of a page's error box: the station's own words
// (or the driver's), with what they mean and what the user can do.
#pragma once

#include <string>

// result is what the read or write returned; the words are the station error text it left.
std::string stationFailureReason(int result, bool write);
