// How the drawing database names an object in its row: an element by its
// name, any other object by its class with its text or its position, so
// that rows of the same class can be told apart.
#pragma once
#include <string>

#include "diagram/Entity.h"

// "L1"; "CVText \"Stock\""; "CVArrow (120, 85)". Code page 1251.
std::string DatabaseRowText(CVEntity& entity);
