#pragma once

// The window controls the game's layouts are made of. Each is a light Qt widget
// named after its design-time name, exposing the design's properties in the
// design's units: positions and sizes in twips, colours as &H00BBGGRR values.

#include "client_area.h"
#include "command_button.h"
#include "control.h"
#include "image.h"
#include "label.h"
#include "shape.h"
#include "text_box.h"
