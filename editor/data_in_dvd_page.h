#pragma once
#include <vector>

#include "controls/form_page.h"

namespace tamboro {

// The page of the disc's details, sound, picture and subtitles (tabDVD),
// bound to the titles' source; the sound and language lists are the sources
// named "SoundSource" and "LangeSource". Tab places from 1 in page order.
std::vector<FormRow> dvdPageRows();

}  // namespace tamboro
