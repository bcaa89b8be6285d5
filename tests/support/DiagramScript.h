// Scripts over the diagram layer: a line is a case of commands joined by " | ", on the
// current object or the list, most with the answer expected after "->" (told beside each
// command; a failed read answers "!" and the message). A "rec" or "lload" with "=>" reads
// the writer's own bytes: they store back the same and, cut short, fail as ending too soon.
#pragma once
#include <clocale>
#include <functional>
#include <map>

#include "archive/Archive.h"
#include "diagram/DiagramClasses.h"
#include "diagram/FontCell.h"
#include "diagram/Moves.h"
#include "diagram/ObjectRows.h"
#include "diagram/TrackingState.h"
#include "support/FakeDialogHost.h"
#include "support/RecordingDC.h"
#include "support/Scene.h"

struct CNotAnEntity : CObject {  // a class a file may name that is no diagram object
    static const CRuntimeClass cls;
    const CRuntimeClass* GetRuntimeClass() const override { return &cls; }
    void Serialize(CArchive&) override {}
};
inline const CRuntimeClass CNotAnEntity::cls{"CNotAnEntity", 1, [] { return std::unique_ptr<CObject>(new CNotAnEntity); }};

inline CPoint ReadPoint(std::istream& in) {
    std::string w;
    CPoint p{};
    return std::sscanf((in >> w, w.c_str()), "%d,%d", &p.x, &p.y), p;
}

inline std::string Rest(std::istream& in) { return std::string(std::istreambuf_iterator<char>(in >> std::ws), {}); }

// Every call since the last answer, queries included, after `before`.
inline std::string Calls(RecordingDC& dc, std::string before = "") {
    for (const std::string& c : dc.calls) before += (before.empty() ? "" : " ") + c;
    return dc.Clear(), before;
}

struct DiagramScript {
    EntityList own;
    EntityList* list = &own;
    std::unique_ptr<CVEntity> loose;  // what rec read
    CVEntity* e = nullptr;
    RecordingDC dc;  // kept between mouse events, as a view keeps its own
    CTrackingState tracking;  // likewise
    CEncodingNotes notes;  // of the last lload
    // Commands of a test's own; "?" when the command is none of them.
    std::function<std::string(const std::string&, std::istream&)> more = [](auto&, auto&) { return "?"; };

    DiagramScript() { dc.pen = CPen{PS_DASH, 3, RGB(1, 2, 3)}; }  // so that restoring a pen shows
    std::string Index(const CVEntity* p) const { return p ? std::to_string(list->IndexOf(p)) : "-"; }
    std::string Run(const std::string& c, std::istream& in);
    void RunFile(const std::string& name);
};

inline std::string DiagramScript::Run(const std::string& c, std::istream& in) {
    static const std::map<std::string, std::pair<int32_t, int32_t>> mouse = {
        {"press", {TE_PRESS, MODE_DRAW}}, {"move", {TE_MOVE, MODE_DRAW}}, {"mpress", {TE_PRESS, MODE_MODIFY}},
        {"start", {TE_START, MODE_DRAW}}, {"finish", {TE_FINISH, MODE_DRAW}}};
    std::string s;
    if (c == "new") return Dump(*(e = &AddDescribed(*list, Rest(in))));
    if (c == "set") return Dump(ApplyDescription(*e, in));
    if (c == "at") return Dump(*(e = list->GetAt(std::stoul(Rest(in)))));  // object N of the list
    if (c == "store" || c == "lstore" || c == "rec" || c == "lload" || c == "append") {
        // the record as hex, or the list's with the notes; rec CLASS HEX: an object read;
        // lload HEX: the list read, taking notes; append HEX: a list read onto the list
        static CClassRegistry registry;
        if (!registry.Find("CNotAnEntity")) RegisterDiagramClasses(registry), registry.Register(&CNotAnEntity::cls);
        if (c == "rec") e = (loose = MakeDescribedClass((in >> s, s))).get();
        if (c == "lload") list->DeleteAll(), notes = {};
        const std::vector<uint8_t> bytes = GoldenBytes(Rest(in));
        try {
            CArchive ar = c.find("store") == std::string::npos ? CArchive(bytes, registry) : CArchive();
            ar.SetEncodingNotes(c == "lstore" || c == "lload" ? &notes : nullptr);
            c == "store" || c == "rec" ? e->Serialize(ar) : list->Serialize(ar);
            return ar.IsStoring() ? HexText(ar.Buffer()) : c == "rec" ? Dump(*e) : DumpList(*list);
        } catch (const CFileError& error) {
            return (error.Kind() == FileErrorKind::BadFormat ? "! " : "!! ") + std::string(error.what());
        }
    }
    RecordingDC fresh;
    if (c == "draw") return fresh.pen = dc.pen, e->Draw(fresh, nullptr), Calls(fresh);
    if (c == "hit" || c == "outline") {  // 1 or 0 for each point
        for (CPoint p; !(in >> std::ws).eof();)
            s += (p = ReadPoint(in), c == "hit" ? e->HitTest(p) : e->IsOnOutline(p, kMoveTolerance)) ? '1' : '0';
        return s;
    }
    if (c == "extent") return PointText({e->GetExtent().left, e->GetExtent().top}) + "," +
                              PointText({e->GetExtent().right, e->GetExtent().bottom});
    if (c == "scale" || c == "scaleall") {  // scaleall answers the label cell too
        double fx = 0, fy = 0;
        in >> fx >> fy;
        if (c == "scale") return e->Scale(fx, fy), Dump(*e);
        list->ScaleAll(fx, fy);
        return PointText({g_nFontHeight, g_nFontWidth}) + " " + DumpList(*list);
    }
    if (c == "offset") return e->Offset(ReadPoint(in)), Dump(*e);
    if (c == "rows" || c == "holds" || c == "names") {  // for every object of the list
        for (const auto& o : *list) {
            SymbolRec rec{99};  // to show what GetName leaves in a record
            const std::string name = o->GetName(&rec);
            s += s.empty() ? "" : " / ";
            if (c == "rows") s += Escaped(DatabaseRowText(*o));
            if (c == "holds") s += std::to_string(o->HoldsConnectors()) + std::to_string(o->ConnectorEnds().size());
            if (c == "names") s += "\"" + name + "\" " + std::to_string(rec.nKind);
        }
        return s;
    }
    if (c == "sethl") {  // 1|0 and, to draw it, the scroll offset: the drawing ; the object
        int on = 0;
        const bool drawn = !(in >> on >> std::ws).eof();
        const CPoint scroll = drawn ? ReadPoint(in) : CPoint{};
        e->SetHighlight(on != 0, drawn ? &dc : nullptr, drawn ? &scroll : nullptr);
        s = Calls(dc);
        return s + (s.empty() ? "; " : " ; ") + Dump(*e);
    }
    if (c == "edit") {
        // draw|view (drawing mode or not), box=text typed, ok|cancel: the result; the dialog
        // as it opened (x a box one can type in, r read-only, - disabled), texts, captions;
        // typing refused; the box of each refused OK (a refused OK types on); messages; whether the
        // document changed, and changes a refusal left.
        using S = CElementDialogState;
        static const std::map<std::string, FakeDialogHost::Box> boxes = {
            {"name", &S::name},   {"desc", &S::description}, {"values", &S::values},
            {"first", &S::first}, {"second", &S::second},    {"third", &S::third}};
        static const char* const results[] = {"rejected", "none", "changed"};
        std::string mode;
        FakeDialogHost host;
        for (in >> mode; in >> s;) {  // a refused OK types on in the same dialog
            if (s == "ok" || s == "cancel") s == "ok" ? host.Ok() : host.Cancel();
            else host.Type(boxes.at(s.substr(0, s.find('='))), Unescaped(s.substr(s.find('=') + 1)));
        }
        const int result = e->Edit(mode == "draw", host);
        s = result == EDIT_UNCHANGED ? "same" : results[result];
        for (const S& d : host.shown) {
            s += " ";
            for (const CDialogBox* b : {&d.name, &d.description, &d.values, &d.first, &d.second, &d.third})
                s += !b->bEnabled ? '-' : b->bReadOnly ? 'r' : 'x';
            for (const CDialogBox* b : {&d.name, &d.description, &d.values, &d.first, &d.second, &d.third})
                s += (b == &d.name ? " " : "|") + Escaped(b->strText);
            s += " " + Escaped(d.strFirstCaption + "|" + d.strSecondCaption + "|" + d.strThirdCaption);
        }
        if (host.refusedTyping) s += " refused=" + std::to_string(host.refusedTyping);
        for (const int box : host.refusedBoxes) s += " not-a-number:" + std::to_string(box);
        for (const std::string& m : host.messages) s += " !" + Escaped(m);
        return s + " doc=" + std::to_string(EditChangedDocument(*e, result)) +
               std::to_string(e->LastEditLeftChanges()) + " ; " + Dump(*e);
    }
    if (mouse.count(c)) {  // whether the object is complete, the placing state, the drawing
        TrackEvent ev;
        std::tie(ev.nKind, ev.nMode) = mouse.at(c);
        ev.point = ReadPoint(in);
        ev.pDC = ev.nKind == TE_PRESS || ev.nKind == TE_MOVE ? &dc : nullptr;
        ev.pState = &tracking;
        s = std::to_string(e->Track(ev)) + " ";
        return Calls(dc, s + std::to_string(tracking.bTwoClickFirstPlaced) + std::to_string(tracking.nFourClickStage));
    }
    if (c == "count") return std::to_string(dynamic_cast<CVTableData&>(ApplyDescription(*e, in)).ValueCount());
    if (c == "values") {  // N "text": whether it reads, whether text is left over, the values
        size_t n = 0;
        const std::string text = (in >> n, Rest(in));
        bool leftOver = false;
        std::vector<double> values(n, 0.0);
        s = std::to_string(ReadTableValues(text.substr(1, text.size() - 2), values, leftOver));
        s += std::to_string(leftOver);
        for (double v : values) s += " " + NumberText(v);
        return s;
    }
    if (c == "locale") return std::setlocale(LC_ALL, Rest(in).c_str()) ? "" : "missing";
    if (c == "keep") {  // extent corners, sheet size, delta: the part of the delta the sheet allows
        const CPoint lt = ReadPoint(in), rb = ReadPoint(in), sheet = ReadPoint(in), delta = ReadPoint(in);
        return PointText(KeepOnSheet(CRect{lt.x, lt.y, rb.x, rb.y}, sheet.x, sheet.y, delta));
    }
    if (c == "clear") list->DeleteAll(), notes = {};
    if (c == "clear" || c == "list") return DumpList(*list);
    if (c == "pick") return Index(PickAt(*list, ReadPoint(in)));
    if (c == "hlpick" || c == "hlat") {  // the object answered, hlpick's highlighted one; every highlight
        const CPoint p = ReadPoint(in);
        s = Index(c == "hlat" ? list->HighlightAt(p, nullptr) : HighlightPick(*list, p, nullptr)) + " ";
        if (c == "hlpick") s += Index(HighlightedObject(*list)) + " ";
        for (const auto& o : *list) s += o->m_bHighlight ? '1' : '0';
        return s;
    }
    if (c == "glue") {  // moves the current object: the glued ends ; the objects moved ; the list after
        const std::vector<CGluedEnd> glued = FindGluedEnds(*list, *e);
        for (const CGluedEnd& g : glued)
            s += Index(g.pConnector) + ":" + std::to_string(g.end.nPoint) + "/" + std::to_string(g.end.nCompanion) + " ";
        s += ";";
        for (const CVEntity* o : ObjectsOfMove(*e, glued)) s += " " + Index(o);
        MoveWithGlue(*e, glued, ReadPoint(in));
        return s + " ; " + DumpList(*list);
    }
    if (c == "font") {  // the underlined label font; then sets the label cell to HEIGHT WIDTH
        s = RecordingDC::FontText(LabelFont(true));
        in >> g_nFontHeight >> g_nFontWidth;
        return s;
    }
    if ((s = more(c, in)) == "?") ADD_FAILURE() << "no command " << c;
    return s;
}

inline void DiagramScript::RunFile(const std::string& name) {
    for (const GoldenCase& line : GoldenTable(name)) {
        for (size_t at = 0, end = 0; at < line.text.size(); at = end + 3) {
            end = std::min(line.text.find(" | ", at), line.text.size());
            const GoldenCase c = SplitCase(line.text.substr(at, end - at));
            SCOPED_TRACE(name + ":" + std::to_string(line.line) + ": " + c.input.substr(0, 80));
            std::istringstream in(c.input), none;
            std::string command, kind;
            const std::string answer = Run((in >> command, command), in);
            if (c.input == c.text) continue;  // no answer expected
            const bool hex = command.find("store") != std::string::npos && c.expected[0] != '!';
            EXPECT_EQ(answer, hex ? HexText(GoldenBytes(c.expected)) : c.expected);
            if (answer[0] == '!' || !(command == "lload" || (command == "rec" && c.bothWays))) continue;
            std::istringstream again(c.input);
            again >> command;
            if (command == "rec") again >> kind;
            const std::vector<uint8_t> bytes = GoldenBytes(Rest(again));
            EXPECT_EQ(Run(command == "rec" ? "store" : "lstore", none), HexText(bytes));  // with the notes
            if (c.bothWays && command == "lload") EXPECT_TRUE(notes.IsEmpty());
            for (size_t cut = 0; c.bothWays && bytes.size() < 1024 && cut < bytes.size(); ++cut) {
                std::istringstream part(kind + " " + HexText({bytes.begin(), bytes.begin() + long(cut)}));
                EXPECT_NE(Run(command, part).find("ends"), std::string::npos) << cut;
            }
        }
    }
    std::setlocale(LC_ALL, "C");
}
