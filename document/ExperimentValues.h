// The values an experiment varies: every number of the diagram a run can be
// given instead of the element's own (the value of a level, rate, variable
// or expert estimate; a switch's two values and threshold), the change that
// writes chosen values into the elements, and a slider's range over a value.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "document/DocChanges.h"
#include "interpreter/ValueOverride.h"

class EntityList;

enum class EElementKind { Level, Rate, Variable, Expert, Switch };
enum class EValueField { Value, Value2, Threshold };

struct CElementValue {
    std::string strName;  // code page 1251, as the element names it
    std::string strDescription;
    EElementKind kind = EElementKind::Variable;
    EValueField field = EValueField::Value;
    double dValue = 0.0;
    // The name a run's override and `varnel run --set` use for it: NAME,
    // NAME.value2 or NAME.threshold.
    std::string OverrideName() const;
};

// In diagram order, a switch's three fields one after another. A name
// already listed is left out: the run refuses a diagram with twins anyway.
std::vector<CElementValue> ListElementValues(const EntityList& list);

// Gives the listed values whose override name matches the value of the
// override, and returns the change that did it (for undo) already made;
// null when no element changed. Names the diagram lacks are passed over.
// Throws CFileError when an element cannot be recorded for undo; nothing
// has changed then.
std::unique_ptr<CObjectsChange> SetElementValues(CVarnelDoc& doc, const std::vector<CValueOverride>& values);

// A slider's span over a value, in a fixed number of steps.
struct CValueRange {
    double dFrom = 0.0;
    double dTo = 0.0;

    // From 0 to twice the value (in either direction), or -1 to 1 for 0.
    static CValueRange Around(double value);
    // The value at position pos of steps: the ends exactly, in between the
    // point of the line rounded to one digit below the step, so that a value
    // reads as short text and that text gives it back exactly.
    double ValueAt(int pos, int steps) const;
    // The position nearest to value, held to 0 ... steps.
    int PositionOf(double value, int steps) const;
};
