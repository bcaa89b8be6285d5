// Registration of every diagram class an archive may create by name.
#pragma once
#include "shell/archive/ClassRegistry.h"

void RegisterDiagramClasses(CClassRegistry& registry);
