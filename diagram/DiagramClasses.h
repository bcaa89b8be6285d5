// Registration of every diagram class an archive may create by name.
#pragma once
#include "archive/ClassRegistry.h"

void RegisterDiagramClasses(CClassRegistry& registry);
