// Reading an XMILE file into records with pugixml. The parser is asked to
// keep a document type declaration as a node so that one can be refused:
// without it no entity can be declared, and pugixml itself decodes only
// the five predefined entities and character references.
#include "exchange/XmileModel.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <pugixml.hpp>

#include "exchange/XmileRefusal.h"

namespace {

constexpr size_t kMaxFileBytes = 64u << 20;
constexpr int kMaxDepth = 64;

std::string_view LocalName(const pugi::xml_node& node) {
    std::string_view name = node.name();
    const size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

bool IsVendor(const pugi::xml_node& node) { return std::strchr(node.name(), ':') != nullptr; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::strchr(" \t\r\n", text.front())) text.remove_prefix(1);
    while (!text.empty() && std::strchr(" \t\r\n", text.back())) text.remove_suffix(1);
    return text;
}

bool ParseNumber(std::string_view text, double& value) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

// Cyrillic capitals to small letters in UTF-8; ASCII by the C rule.
void AppendLowered(std::string& out, std::string_view name, size_t& i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (c == 0xD0 && i + 1 < name.size()) {
        const unsigned char d = static_cast<unsigned char>(name[i + 1]);
        if (d >= 0x90 && d <= 0x9F) { out += '\xD0'; out += static_cast<char>(d + 0x20); ++i; return; }
        if (d >= 0xA0 && d <= 0xAF) { out += '\xD1'; out += static_cast<char>(d - 0x20); ++i; return; }
        if (d == 0x81) { out += "\xD1\x91"; ++i; return; }
    }
    out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : static_cast<char>(c);
}

class CReader {
public:
    XModel Read(std::string_view bytes);

private:
    std::vector<std::string> m_problems;
    XModel m_model;
    bool m_bStocksNonNegative = false;
    bool m_bFlowsNonNegative = false;

    void Problem(const std::string& text) { m_problems.push_back(text); }
    void CheckDepth(const pugi::xml_node& root);
    void ReadSimulationSettings(const pugi::xml_node& settings);
    void ReadBehavior(const pugi::xml_node& behavior);
    void ReadVariables(const pugi::xml_node& variables);
    void ReadVariable(const pugi::xml_node& node, XKind kind);
    void ReadGraphical(const pugi::xml_node& node, const std::string& name, XGraphical& gf);
    void ReadView(const pugi::xml_node& view);
};

void CReader::CheckDepth(const pugi::xml_node& root) {
    std::vector<std::pair<pugi::xml_node, int>> stack{{root, 0}};
    while (!stack.empty()) {
        auto [node, depth] = stack.back();
        stack.pop_back();
        if (depth > kMaxDepth) throw CXmileRefusal({"the XML nests deeper than " + std::to_string(kMaxDepth) + " levels"});
        for (pugi::xml_node child : node.children()) stack.emplace_back(child, depth + 1);
    }
}

void CReader::ReadSimulationSettings(const pugi::xml_node& settings) {
    std::string method = settings.attribute("method").value();
    for (char& c : method) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (method == "rk4") m_model.bRk4 = true;
    else if (!method.empty() && method != "euler") Problem("integration method '" + std::string(settings.attribute("method").value()) + "': only Euler and RK4 can be imported");
    const auto number = [&](const char* tag, double& value) {
        const pugi::xml_node node = settings.child(tag);
        if (!node) return false;
        if (!ParseNumber(node.text().get(), value)) {
            Problem(std::string("sim_specs: <") + tag + "> is not a number");
            return false;
        }
        return true;
    };
    number("start", m_model.dStart);
    number("stop", m_model.dStop);
    if (number("dt", m_model.dDt) && settings.child("dt").attribute("reciprocal").as_bool()) m_model.dDt = 1.0 / m_model.dDt;
    if (!number("save_step", m_model.dSaveStep) && settings.attribute("save_step"))
        if (!ParseNumber(settings.attribute("save_step").value(), m_model.dSaveStep)) Problem("sim_specs: save_step is not a number");
    if (!(m_model.dDt > 0) || !(m_model.dStop >= m_model.dStart) || !std::isfinite(m_model.dStop - m_model.dStart))
        Problem("sim_specs: dt must be above 0 and stop not before start");
    else if ((m_model.dStop - m_model.dStart) / m_model.dDt > 1e8)
        Problem("sim_specs: more than 100000000 steps of dt");
}

void CReader::ReadBehavior(const pugi::xml_node& behavior) {
    if (behavior.child("non_negative")) m_bStocksNonNegative = m_bFlowsNonNegative = true;
    if (behavior.child("stock").child("non_negative")) m_bStocksNonNegative = true;
    if (behavior.child("flow").child("non_negative")) m_bFlowsNonNegative = true;
}

void CReader::ReadGraphical(const pugi::xml_node& node, const std::string& name, XGraphical& gf) {
    if (node.attribute("type")) gf.strType = node.attribute("type").value();
    if (gf.strType != "continuous" && gf.strType != "extrapolate" && gf.strType != "discrete") {
        Problem("graphical function type '" + gf.strType + "': variable '" + name + "'");
        return;
    }
    const auto points = [&](const char* tag, std::vector<double>& values) {
        const pugi::xml_node list = node.child(tag);
        std::string sep = list.attribute("sep") ? list.attribute("sep").value() : ",";
        if (sep.empty()) sep = ",";
        std::string_view text = list.text().get();
        while (!Trim(text).empty()) {
            const size_t at = text.find(sep);
            double value = 0;
            if (!ParseNumber(text.substr(0, at), value)) {
                Problem(std::string("graphical function <") + tag + "> holds a value that is no number: variable '" + name + "'");
                return;
            }
            values.push_back(value);
            if (at == std::string_view::npos) break;
            text.remove_prefix(at + sep.size());
        }
    };
    points("ypts", gf.ys);
    if (node.child("xpts")) {
        points("xpts", gf.xs);
    } else if (node.child("xscale")) {
        const double lo = node.child("xscale").attribute("min").as_double();
        const double hi = node.child("xscale").attribute("max").as_double();
        for (size_t i = 0; i < gf.ys.size(); ++i)
            gf.xs.push_back(gf.ys.size() == 1 ? lo : lo + (hi - lo) * static_cast<double>(i) / static_cast<double>(gf.ys.size() - 1));
        gf.bFromScale = true;
    }
    if (gf.ys.empty() || gf.xs.size() != gf.ys.size())
        Problem("graphical function without matching x and y points: variable '" + name + "'");
    for (size_t i = 1; i < gf.xs.size(); ++i)
        if (!(gf.xs[i] >= gf.xs[i - 1])) {
            Problem("graphical function whose x points are not in order: variable '" + name + "'");
            break;
        }
}

void CReader::ReadVariable(const pugi::xml_node& node, XKind kind) {
    XVariable var;
    var.kind = kind;
    var.strName = node.attribute("name").value();
    var.strKey = XmileKey(var.strName);
    if (var.strKey.empty()) {
        Problem(std::string("a <") + node.name() + "> without a name");
        return;
    }
    var.strDoc = std::string(Trim(node.child("doc").text().get()));
    var.strEqn = node.child("eqn").text().get();
    var.bNonNegative = kind == XKind::Stock ? m_bStocksNonNegative : kind == XKind::Flow && m_bFlowsNonNegative;
    for (pugi::xml_node child : node.children()) {
        if (child.type() != pugi::node_element || IsVendor(child)) continue;
        const std::string_view tag = LocalName(child);
        if (tag == "inflow") var.inflows.push_back(XmileKey(child.text().get()));
        else if (tag == "outflow") var.outflows.push_back(XmileKey(child.text().get()));
        else if (tag == "non_negative") var.bNonNegative = std::string_view(child.text().get()) != "false";
        else if (tag == "dimensions" || tag == "element") Problem("arrays (dimensions): variable '" + var.strName + "'");
        else if (tag == "conveyor") Problem("conveyors: variable '" + var.strName + "'");
        else if (tag == "queue") Problem("queues: variable '" + var.strName + "'");
        else if (tag == "oven") Problem("ovens: variable '" + var.strName + "'");
        else if (tag == "gf") {
            var.bHasGraphical = true;
            ReadGraphical(child, var.strName, var.graphical);
        }
    }
    if (std::string(node.name()).find("oven") != std::string::npos) Problem("ovens: variable '" + var.strName + "'");
    if (LocalName(node) == "gf") {
        var.bHasGraphical = true;
        ReadGraphical(node, var.strName, var.graphical);
    }
    m_model.variables.push_back(std::move(var));
}

void CReader::ReadVariables(const pugi::xml_node& variables) {
    for (pugi::xml_node node : variables.children()) {
        if (node.type() != pugi::node_element) continue;
        const std::string_view tag = LocalName(node);
        const std::string name = node.attribute("name").value();
        if (tag == "module") Problem("modules: '" + name + "'");
        else if (IsVendor(node) && tag.find("oven") != std::string_view::npos) Problem("ovens: variable '" + name + "'");
        else if (IsVendor(node)) continue;
        else if (tag == "stock") ReadVariable(node, XKind::Stock);
        else if (tag == "flow") ReadVariable(node, XKind::Flow);
        else if (tag == "aux" || tag == "gf") ReadVariable(node, XKind::Aux);
        else if (tag == "group") ReadVariables(node);
    }
}

void CReader::ReadView(const pugi::xml_node& view) {
    for (pugi::xml_node node : view.children()) {
        const std::string_view tag = LocalName(node);
        if (IsVendor(node)) continue;
        if (tag == "connector") {
            m_model.connectors.push_back({XmileKey(node.child("from").text().get()), XmileKey(node.child("to").text().get())});
            continue;
        }
        if (tag != "stock" && tag != "flow" && tag != "aux") continue;
        XViewItem item;
        item.strKey = XmileKey(node.attribute("name").value());
        item.kind = tag == "stock" ? XKind::Stock : tag == "flow" ? XKind::Flow : XKind::Aux;
        item.dX = node.attribute("x").as_double();
        item.dY = node.attribute("y").as_double();
        item.dWidth = node.attribute("width").as_double();
        item.dHeight = node.attribute("height").as_double();
        for (pugi::xml_node pt : node.child("pts").children("pt"))
            item.pipe.emplace_back(pt.attribute("x").as_double(), pt.attribute("y").as_double());
        if (std::isfinite(item.dX) && std::isfinite(item.dY)) m_model.view.push_back(std::move(item));
    }
    m_model.bHasView = !m_model.view.empty();
}

XModel CReader::Read(std::string_view bytes) {
    if (bytes.size() > kMaxFileBytes) throw CXmileRefusal({"the file is larger than 64 MiB"});
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed =
        doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_doctype);
    if (!parsed)
        throw CXmileRefusal({std::string("not well-formed XML: ") + parsed.description() + " at byte " +
                             std::to_string(parsed.offset)});
    for (pugi::xml_node node : doc.children())
        if (node.type() == pugi::node_doctype) throw CXmileRefusal({"a document type declaration (DTD) is not accepted"});
    CheckDepth(doc);
    const pugi::xml_node root = doc.document_element();
    if (LocalName(root) != "xmile") throw CXmileRefusal({"not an XMILE file: the root element is not <xmile>"});
    for (pugi::xml_node node : root.children()) {
        const std::string_view tag = LocalName(node);
        if (IsVendor(node)) continue;
        if (tag == "macro") Problem("macros: '" + std::string(node.attribute("name").value()) + "'");
        else if (tag == "sim_specs") ReadSimulationSettings(node);
        else if (tag == "behavior") ReadBehavior(node);
        else if (tag == "dimensions" && node.first_child()) Problem("arrays (dimensions): the model declares dimensions");
    }
    int models = 0;
    for (pugi::xml_node model : root.children("model")) {
        if (++models > 1) {
            Problem("modules: model '" + std::string(model.attribute("name").value()) + "'");
            continue;
        }
        if (model.child("behavior")) ReadBehavior(model.child("behavior"));
        ReadVariables(model.child("variables"));
        for (pugi::xml_node view : model.child("views").children("view")) {
            if (m_model.bHasView) break;
            ReadView(view);
        }
    }
    if (models == 0) Problem("the file holds no <model>");
    if (!m_problems.empty()) throw CXmileRefusal(std::move(m_problems));
    return std::move(m_model);
}

}  // namespace

std::string XmileKey(std::string_view name) {
    name = Trim(name);
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
    std::string key;
    bool blank = false;
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        const bool escapedBreak = c == '\\' && i + 1 < name.size() && name[i + 1] == 'n';
        if (c == ' ' || c == '_' || c == '\t' || c == '\r' || c == '\n' || escapedBreak) {
            if (escapedBreak) ++i;
            blank = true;
            continue;
        }
        if (blank && !key.empty()) key += ' ';
        blank = false;
        AppendLowered(key, name, i);
    }
    return key;
}

XModel ReadXmileModel(std::string_view bytes) { return CReader().Read(bytes); }
