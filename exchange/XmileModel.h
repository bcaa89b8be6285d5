// What an XMILE file says, read into plain records: the simulation settings,
// the variables with their equations and graphical functions, and the
// first view's positions. Reading refuses hostile XML and lists every
// feature the import cannot carry over, one line per problem.
#pragma once
#include <string>
#include <string_view>
#include <vector>

enum class XKind { Stock, Flow, Aux };

// A graphical function: its points, and how it answers outside them.
struct XGraphical {
    std::vector<double> xs;
    std::vector<double> ys;
    std::string strType = "continuous";  // continuous, extrapolate or discrete
    bool bFromScale = false;             // xs spread evenly over an xscale
};

struct XVariable {
    XKind kind = XKind::Aux;
    std::string strName;  // as written, UTF-8
    std::string strKey;   // the name as references match it
    std::string strDoc;
    std::string strEqn;
    std::vector<std::string> inflows;   // keys
    std::vector<std::string> outflows;  // keys
    bool bNonNegative = false;
    bool bHasGraphical = false;
    XGraphical graphical;
};

// One element of the view: its centre, size and, for a flow, its pipe.
struct XViewItem {
    std::string strKey;
    XKind kind = XKind::Aux;
    double dX = 0, dY = 0, dWidth = 0, dHeight = 0;
    std::vector<std::pair<double, double>> pipe;
};

struct XConnector {
    std::string strFrom;  // keys
    std::string strTo;
};

struct XModel {
    double dStart = 0, dStop = 10, dDt = 1, dSaveStep = 0;  // 0: every dt
    bool bRk4 = false;
    std::vector<XVariable> variables;
    bool bHasView = false;
    std::vector<XViewItem> view;
    std::vector<XConnector> connectors;
};

// The XMILE rule for matching names: case does not count, '_' is a blank,
// runs of blanks are one, quotes around a name are not part of it.
std::string XmileKey(std::string_view name);

// Reads a whole file. Throws CXmileRefusal listing every problem: damaged
// or hostile XML, and features the import refuses (arrays, macros,
// modules, conveyors, queues, ovens, an unknown integration method).
XModel ReadXmileModel(std::string_view bytes);
