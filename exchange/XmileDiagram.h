// The diagram of an imported model: its elements placed where the XMILE
// view puts them (or in rows of their own without a view), flow lines
// with clouds where a flow leaves the model, and the view's connectors as
// arrows. The sheet grows to hold it all.
#pragma once
#include <memory>

#include "diagram/EntityList.h"
#include "exchange/XmileModel.h"
#include "exchange/XmileTranslate.h"

struct XDiagram {
    std::unique_ptr<EntityList> pList;
    int32_t nWidth = 640;
    int32_t nHeight = 480;
};

XDiagram BuildXmileDiagram(const XModel& model, const XTranslation& translation);
