// Every diagram class an archive may create by name while reading a model.
#include "diagram/DiagramClasses.h"

#include "diagram/TableElements.h"

void RegisterDiagramClasses(CClassRegistry& registry) {
    for (const CRuntimeClass* pClass :
         {&CVEntity::classCVEntity, &CVLine::classCVLine, &CVRectangle::classCVRectangle,
          &CVEllipse::classCVEllipse, &CVBSpline::classCVBSpline, &CVArrow::classCVArrow,
          &CVText::classCVText, &CVLevel::classCVLevel, &CVRate::classCVRate,
          &CVVariable::classCVVariable, &CVSources::classCVSources, &CVTableData::classCVTableData,
          &CVExpert::classCVExpert, &CVSwitch::classCVSwitch})
        registry.Register(pClass);
}
