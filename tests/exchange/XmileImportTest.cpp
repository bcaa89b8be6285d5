// The XMILE import against the cases of models.txt (UTF-8): each case is a
// small model, wrapped into an XMILE file unless it is raw (a <sim_specs>
// line replaces the 0 to 4 by 1 of the others), and items that its import
// and run must bear out:
//   NAME@T = V          the series captioned NAME holds y = V at x = T
//   samples NAME N      that series has N points
//   element NAME CLASS [VALUE]   the diagram has that element
//   below A B           element A lies under element B on the sheet
//   line TEXT           the program holds that line
//   refuse TEXT         the import is refused, TEXT one of its lines
//   note TEXT           a note of the import holds TEXT
// Every imported case must also pass the program check with no finding.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

#include "base/Cp1251.h"
#include "base/Numbers.h"
#include "diagram/Entity.h"
#include "exchange/XmileImport.h"
#include "graphs/Graphic.h"
#include "interpreter/BuildGraphs.h"
#include "interpreter/ProgramCheck.h"

namespace {

struct CCase {
    std::string strName;
    int nLine = 0;
    std::string strSettings = "<sim_specs><start>0</start><stop>4</stop><dt>1</dt></sim_specs>";
    std::string strTop, strVariables, strView, strRaw;
    bool bRaw = false;
    std::vector<std::string> items;

    std::string Xml() const {
        if (bRaw) return strRaw;
        return "<xmile version=\"1.0\" xmlns=\"http://docs.oasis-open.org/xmile/ns/XMILE/v1.0\">" + strSettings + strTop +
               "<model><variables>" + strVariables + "</variables>" +
               (strView.empty() ? "" : "<views><view>" + strView + "</view></views>") + "</model></xmile>";
    }
};

void PrintTo(const CCase& c, std::ostream* os) { *os << "models.txt:" << c.nLine << " " << c.strName; }

std::vector<CCase> ReadCases() {
    std::ifstream file(std::string(VARNEL_TESTS_DIR) + "/exchange/models.txt");
    std::vector<CCase> cases;
    std::string line;
    for (int n = 1; std::getline(file, line); ++n) {
        if (line.empty() || line[0] == '#') continue;
        if (line.rfind("case ", 0) == 0) {
            cases.emplace_back();
            cases.back().strName = line.substr(5);
            cases.back().nLine = n;
            continue;
        }
        CCase& c = cases.back();
        if (line.rfind("<sim_specs", 0) == 0) c.strSettings = line;
        else if (line.rfind("raw ", 0) == 0) {
            c.bRaw = true;
            c.strRaw += line.substr(4) + "\n";
        }
        else if (line.rfind("expect ", 0) == 0) {
            std::string rest = line.substr(7);
            for (size_t at; (at = rest.find("; ")) != std::string::npos; rest.erase(0, at + 2))
                c.items.push_back(rest.substr(0, at));
            c.items.push_back(rest);
        } else if (line.rfind("<view ", 0) == 0) c.strView += line.substr(6);
        else if (line.rfind("<behavior", 0) == 0 || line.rfind("<macro", 0) == 0 || line.rfind("<dimensions", 0) == 0)
            c.strTop += line;
        else c.strVariables += line + "\n";
    }
    return cases;
}

const CVGraphic* Series(const BuildGraphsResult& run, const std::string& caption) {
    for (const auto& series : run.series)
        if (series->m_strText == Utf8ToCp1251Lossy(caption)) return series.get();
    return nullptr;
}

bool Near(double a, double b) { return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(b)); }

void CheckItem(const std::string& item, const XImport& imported, const BuildGraphsResult& run) {
    SCOPED_TRACE(item);
    std::istringstream words(item);
    std::string head;
    words >> head;
    if (const size_t at = item.find('@'); at != std::string::npos && item.find(" = ") != std::string::npos) {
        const CVGraphic* series = Series(run, item.substr(0, at));
        ASSERT_NE(series, nullptr);
        const double x = DecimalToDouble(item.substr(at + 1));
        const double y = DecimalToDouble(item.substr(item.find(" = ") + 3));
        bool found = false;
        for (const CSample& sample : series->Samples())
            if (Near(sample.x, x)) {
                found = true;
                EXPECT_TRUE(Near(sample.y, y)) << "got " << FormatRoundTrip(sample.y);
            }
        EXPECT_TRUE(found) << "no point at x";
    } else if (head == "samples") {
        std::string name;
        int count = 0;
        words >> name >> count;
        ASSERT_NE(Series(run, name), nullptr);
        EXPECT_EQ(Series(run, name)->GetSampleCount(), count);
    } else if (head == "element") {
        std::string name, cls, value;
        words >> name >> cls >> value;
        bool found = false;
        for (size_t i = 0; i < imported.doc.m_pEntityList->GetCount(); ++i) {
            CVEntity* entity = imported.doc.m_pEntityList->GetAt(i);
            SymbolRec rec{};
            if (entity->GetName(&rec) != Utf8ToCp1251Lossy(name)) continue;
            found = true;
            EXPECT_STREQ(entity->GetRuntimeClass()->m_lpszClassName, cls.c_str());
            if (!value.empty()) {
                EXPECT_EQ(FormatRoundTrip(rec.dValue), value);
            }
        }
        EXPECT_TRUE(found);
    } else if (head == "below") {  // below A B: A's box lies under B's
        std::string a, b;
        words >> a >> b;
        std::map<std::string, CRect> boxes;
        for (size_t i = 0; i < imported.doc.m_pEntityList->GetCount(); ++i) {
            CVEntity* entity = imported.doc.m_pEntityList->GetAt(i);
            SymbolRec rec{};
            boxes[entity->GetName(&rec)] = entity->GetExtent();
        }
        ASSERT_TRUE(boxes.count(a) && boxes.count(b));
        EXPECT_GT(boxes[a].top, boxes[b].bottom);
    } else if (head == "line") {
        EXPECT_NE(imported.doc.m_strProgram.find("\r\n" + Utf8ToCp1251Lossy(item.substr(5)) + "\r\n"), std::string::npos);
    } else if (head == "note") {
        bool found = false;
        for (const std::string& note : imported.notes) found = found || note.find(item.substr(5)) != std::string::npos;
        EXPECT_TRUE(found);
    } else {
        ADD_FAILURE() << "unknown item";
    }
}

class XmileCases : public testing::TestWithParam<CCase> {};

TEST_P(XmileCases, ImportAndRun) {
    const CCase& c = GetParam();
    std::vector<std::string> refusals;
    for (const std::string& item : c.items)
        if (item.rfind("refuse ", 0) == 0) refusals.push_back(item.substr(7));
    try {
        const XImport imported = ImportXmile(c.Xml(), {true});
        ASSERT_TRUE(refusals.empty()) << "imported, but should be refused";
        for (const CCheckFinding& finding : CheckProgram(imported.doc.m_strProgram, imported.doc.m_pEntityList.get()))
            ADD_FAILURE() << "check: " << FindingText(finding);
        const BuildGraphsResult run = BuildGraphs(imported.doc.m_pEntityList.get(), imported.doc.m_strProgram);
        ASSERT_EQ(run.outcome, RunOutcome::Ok) << Cp1251ToUtf8(run.strError) << " line " << run.nErrorLine << "\n"
                                               << Cp1251ToUtf8(imported.doc.m_strProgram);
        for (const std::string& item : c.items) CheckItem(item, imported, run);
    } catch (const CXmileRefusal& refusal) {
        std::string all;
        for (const std::string& problem : refusal.Problems()) all += problem + "\n";
        ASSERT_FALSE(refusals.empty()) << "refused:\n" << all;
        for (const std::string& expected : refusals) EXPECT_NE(all.find(expected + "\n"), std::string::npos) << all;
    }
}

// Failures name the case by its line (PrintTo).
INSTANTIATE_TEST_SUITE_P(Models, XmileCases, testing::ValuesIn(ReadCases()));

}  // namespace
