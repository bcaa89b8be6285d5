// The drawing tools: which class of object each tool places.
#pragma once
#include <memory>

#include "diagram/Entity.h"

// In the order of the tool bar's buttons.
enum class ETool { Line, Text, Rectangle, Ellipse, Expert, BSpline, Variable, Level, Rate, TableData, Sources, Switch, Arrow };

// A new object in its class's default state, as the tool places it.
std::unique_ptr<CVEntity> MakeToolEntity(ETool tool);
