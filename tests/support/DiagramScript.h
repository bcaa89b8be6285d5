// Scripts over the diagram layer. A row of a script file is one case: commands joined by
// " | ", most with the answer expected after "->" (told beside each command). Every row is
// its own test named by its file and line; it replays the rows above it, unchecked, so it
// can run alone. A "rec" or "lload" with "=>" reads the writer's own bytes: they store
// back the same and, cut short, fail as ending too soon.
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

// A class a file may name that is no diagram object.
struct CNotAnEntity : CObject {
    static const CRuntimeClass cls;
    const CRuntimeClass* GetRuntimeClass() const override { return &cls; }
    void Serialize(CArchive&) override {}
};
inline const CRuntimeClass CNotAnEntity::cls{"CNotAnEntity", 1, [] { return std::unique_ptr<CObject>(new CNotAnEntity); }};

inline CPoint ReadPoint(std::istream& in) {
    std::string word;
    in >> word;
    CPoint p{};
    std::sscanf(word.c_str(), "%d,%d", &p.x, &p.y);
    return p;
}

inline std::vector<CPoint> ReadPoints(std::istream& in) {
    std::vector<CPoint> points;
    while (!(in >> std::ws).eof()) points.push_back(ReadPoint(in));
    return points;
}

inline std::string Rest(std::istream& in) {
    in >> std::ws;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Texts joined by a separator.
inline std::string Joined(const std::vector<std::string>& texts, const std::string& separator) {
    std::string s;
    for (const std::string& text : texts) s += (s.empty() ? "" : separator) + text;
    return s;
}

// Every call since the last answer, queries included, after `before`.
inline std::string Calls(RecordingDC& dc, const std::string& before = "") {
    std::vector<std::string> all = dc.calls;
    if (!before.empty()) all.insert(all.begin(), before);
    dc.Clear();
    return Joined(all, " ");
}

// "in" when `in` holds for every point, "out" when for none, else which it holds for.
inline std::string InOrOut(const std::vector<CPoint>& points, const std::function<bool(CPoint)>& in) {
    std::vector<std::string> inside;
    for (CPoint p : points) {
        if (in(p)) inside.push_back(PointText(p));
    }
    if (inside.size() == points.size()) return "in";
    return inside.empty() ? "out" : "in only " + Joined(inside, " ");
}

// The indices of the highlighted objects, "none" when there are none.
inline std::string Highlighted(const EntityList& list) {
    std::vector<std::string> on;
    for (size_t i = 0; i < list.GetCount(); ++i) {
        if (list.GetAt(i)->m_bHighlight) on.push_back(std::to_string(i));
    }
    return on.empty() ? "none" : Joined(on, ",");
}

inline const char* SymbolKindName(SymbolKind kind) {
    switch (kind) {
        case SK_NONE: return "none";
        case SK_NUMBER: return "number";
        case SK_TABLE: return "table";
        case SK_SWITCH: return "switch";
        case SK_GRAPHIC: return "graphic";
    }
    return "untouched";
}

// The captions of the last three boxes but for a switch: "От:", "До:", "Шаг:".
inline const std::string kRangeCaptions = "\\xCE\\xF2:|\\xC4\\xEE:|\\xD8\\xE0\\xE3:";

// A dialog as it opened: edit= the boxes one can type in, read= the read-only ones (disabled
// ones are not named), each box's text that is not empty, and the captions unless kRangeCaptions.
inline std::string DialogText(const CElementDialogState& d) {
    const std::pair<const char*, const CDialogBox*> boxes[] = {{"name", &d.name},     {"desc", &d.description},
                                                               {"values", &d.values}, {"first", &d.first},
                                                               {"second", &d.second}, {"third", &d.third}};
    std::vector<std::string> editable;
    std::vector<std::string> readOnly;
    std::string texts;
    for (const auto& [name, box] : boxes) {
        if (box->bEnabled) (box->bReadOnly ? readOnly : editable).push_back(name);
        if (!box->strText.empty()) texts += " " + std::string(name) + "=" + Escaped(box->strText);
    }
    std::string s = editable.empty() ? "" : " edit=" + Joined(editable, ",");
    s += readOnly.empty() ? "" : " read=" + Joined(readOnly, ",");
    const std::string captions = Escaped(d.strFirstCaption + "|" + d.strSecondCaption + "|" + d.strThirdCaption);
    return s + texts + (captions == kRangeCaptions ? "" : " captions=" + captions);
}

// One row of a script file: its file, its first line and its text.
struct ScriptRow {
    std::string file;
    int line = 0;
    std::string text;
};

inline void PrintTo(const ScriptRow& row, std::ostream* out) { *out << row.file << ":" << row.line; }

// The rows of every file named; a file without a row gives one row that fails.
inline std::vector<ScriptRow> ScriptRows(const std::vector<std::string>& files) {
    std::vector<ScriptRow> rows;
    for (const std::string& file : files) {
        const std::vector<GoldenCase> cases = GoldenTable(file);
        for (const GoldenCase& c : cases) rows.push_back({file, c.line, c.text});
        if (cases.empty()) rows.push_back({file, 0, ""});
    }
    return rows;
}

// Line 12 of "diagram/records.txt" as "records_12".
inline std::string RowName(const ::testing::TestParamInfo<ScriptRow>& info) {
    const std::string& file = info.param.file;
    const size_t slash = file.rfind('/') + 1;
    return file.substr(slash, file.rfind('.') - slash) + "_" + std::to_string(info.param.line);
}

class DiagramScript {
public:
    DiagramScript() {
        dc.pen = CPen{PS_DASH, 3, RGB(1, 2, 3)};  // so that restoring a pen shows
        own.UseFontCell(&cell);
    }
    virtual ~DiagramScript() = default;
    // Runs the rows of row.file above row, unchecked, then row itself.
    void RunUpTo(const ScriptRow& row);

protected:
    // Commands of a test's own; "?" when the command is none of them.
    virtual std::string More(const std::string&, std::istream&) { return "?"; }
    std::string Index(const CVEntity* p) const { return p ? std::to_string(list->IndexOf(p)) : "-"; }

    CFontCell cell;  // lent to every list, as a view lends its own
    EntityList own;
    EntityList* list = &own;
    CVEntity* e = nullptr;

private:
    std::string Run(const std::string& command, std::istream& in);
    void RunRow(const std::string& text, bool check);
    void CheckBothWays(const GoldenCase& c, const std::string& command);
    std::string Archive(const std::string& command, const std::vector<uint8_t>& bytes);
    std::string Edit(std::istream& in);
    std::string Mouse(int32_t kind, int32_t mode, std::istream& in);
    std::string Glue(std::istream& in);
    std::string ForEachObject(const std::function<std::string(CVEntity&)>& text) const;

    std::unique_ptr<CVEntity> loose;  // what rec read
    RecordingDC dc;                   // kept between mouse events, as a view keeps its own
    CTrackingState tracking;          // likewise
    CEncodingNotes notes;             // of the last lload
};

inline std::string DiagramScript::ForEachObject(const std::function<std::string(CVEntity&)>& text) const {
    std::vector<std::string> texts;
    for (const auto& o : *list) texts.push_back(text(*o));
    return Joined(texts, " / ");
}

inline std::string DiagramScript::Run(const std::string& c, std::istream& in) {
    static const std::map<std::string, std::pair<int32_t, int32_t>> mouse = {
        {"press", {TE_PRESS, MODE_DRAW}},    {"move", {TE_MOVE, MODE_DRAW}},     {"mpress", {TE_PRESS, MODE_MODIFY}},
        {"start", {TE_START, MODE_DRAW}},    {"finish", {TE_FINISH, MODE_DRAW}}};
    size_t n = 0;
    double fx = 0;
    double fy = 0;
    if (c == "new") return Dump(*(e = &AddDescribed(*list, Rest(in))));  // DESCRIPTION (support/Scene.h)
    if (c == "set") return Dump(ApplyDescription(*e, in));
    if (c == "at" && in >> n) return Dump(*(e = list->GetAt(n)));  // object N becomes the current one
    if (c == "store" || c == "lstore") return Archive(c, {});        // the record, or the list's, as hex
    if (c == "rec") {                                                  // rec CLASS HEX: an object read
        std::string kind;
        in >> kind;
        loose = MakeDescribedClass(kind);
        e = loose.get();
        if (e) e->m_pFontCell = &cell;
    }
    if (c == "lload" || c == "clear") {  // lload HEX: the list read in its place, taking notes
        list->DeleteAll();
        notes = {};
    }
    if (c == "rec" || c == "lload" || c == "append") return Archive(c, GoldenBytes(Rest(in)));
    if (c == "clear" || c == "list") return DumpList(*list);
    if (c == "draw") {  // on a context whose pen is dashed, so that restoring a pen shows
        RecordingDC fresh;
        fresh.pen = dc.pen;
        e->Draw(fresh, nullptr);
        return Calls(fresh);
    }
    if (c == "hit") return InOrOut(ReadPoints(in), [this](CPoint p) { return e->HitTest(p); });
    if (c == "outline") return InOrOut(ReadPoints(in), [this](CPoint p) { return e->IsOnOutline(p, kMoveTolerance); });
    if (c == "extent") return PointText({e->GetExtent().left, e->GetExtent().top}) + " " +
                              PointText({e->GetExtent().right, e->GetExtent().bottom});
    if (c == "scale" && in >> fx >> fy) {
        e->Scale(fx, fy);
        return Dump(*e);
    }
    if (c == "scaleall" && in >> fx >> fy) {  // the label cell, then the list
        list->ScaleAll(fx, fy);
        return "cell=" + std::to_string(cell.nHeight) + "x" + std::to_string(cell.nWidth) + " " + DumpList(*list);
    }
    if (c == "offset") {
        e->Offset(ReadPoint(in));
        return Dump(*e);
    }
    if (c == "rows") return ForEachObject([](CVEntity& o) { return Escaped(DatabaseRowText(o)); });
    if (c == "holds") {  // "holds" when connectors stick to the object, and its ends
        return ForEachObject([](CVEntity& o) {
            return (o.HoldsConnectors() ? "holds ends=" : "ends=") + std::to_string(o.ConnectorEnds().size());
        });
    }
    if (c == "names") {  // the name for the interpreter and the kind written, "untouched" for none
        return ForEachObject([](CVEntity& o) {
            SymbolRec rec;
            rec.nKind = static_cast<SymbolKind>(99);
            const std::string name = o.GetName(&rec);
            return "\"" + name + "\" " + SymbolKindName(rec.nKind);
        });
    }
    if (c == "sethl") {  // 1|0 and, to draw it, the scroll offset: the drawing ; the object
        int on = 0;
        in >> on >> std::ws;
        const bool drawn = !in.eof();
        const CPoint scroll = drawn ? ReadPoint(in) : CPoint{};
        e->SetHighlight(on != 0, drawn ? &dc : nullptr, drawn ? &scroll : nullptr);
        const std::string drawing = Calls(dc);
        return drawing + (drawing.empty() ? "; " : " ; ") + Dump(*e);
    }
    if (c == "edit") return Edit(in);
    if (mouse.count(c)) return Mouse(mouse.at(c).first, mouse.at(c).second, in);
    if (c == "count") return std::to_string(dynamic_cast<CVTableData&>(ApplyDescription(*e, in)).ValueCount());
    if (c == "values" && in >> n) {  // N "TEXT": read or refused, surplus when text is left over, the values
        const std::string text = Rest(in);
        bool leftOver = false;
        std::vector<double> values(n, 0.0);
        std::string s = ReadTableValues(text.substr(1, text.size() - 2), values, leftOver) ? "read" : "refused";
        s += leftOver ? " surplus" : "";
        for (double v : values) s += " " + NumberText(v);
        return s;
    }
    if (c == "locale") return std::setlocale(LC_ALL, Rest(in).c_str()) ? "" : "missing";
    if (c == "keep") {  // extent corners, sheet size, delta: the part of the delta the sheet allows
        const std::vector<CPoint> p = ReadPoints(in);
        return PointText(KeepOnSheet(CRect{p[0].x, p[0].y, p[1].x, p[1].y}, p[2].x, p[2].y, p[3]));
    }
    if (c == "pick") return Index(PickAt(*list, ReadPoint(in)));
    if (c == "hlat") {  // the object answered, then every one highlighted
        const std::string found = Index(list->HighlightAt(ReadPoint(in), nullptr));
        return found + " hl=" + Highlighted(*list);
    }
    if (c == "hlpick") {  // the object answered, the one highlighted, every one highlighted
        const std::string found = Index(HighlightPick(*list, ReadPoint(in), nullptr));
        return found + " highlighted=" + Index(HighlightedObject(*list)) + " hl=" + Highlighted(*list);
    }
    if (c == "glue") return Glue(in);
    if (c == "font") {  // the underlined label font; then sets the label cell to HEIGHT WIDTH
        const std::string s = RecordingDC::FontText(cell.LabelFont(true));
        in >> cell.nHeight >> cell.nWidth;
        return s;
    }
    const std::string answer = More(c, in);
    if (answer == "?") ADD_FAILURE() << "no command " << c;
    return answer;
}

// store and lstore answer the bytes written as hex (lstore with the notes of the last lload);
// the readers what they read, or "!" and why not ("!!" for other than a bad format).
inline std::string DiagramScript::Archive(const std::string& command, const std::vector<uint8_t>& bytes) {
    static CClassRegistry registry;
    if (!registry.Find("CNotAnEntity")) {
        RegisterDiagramClasses(registry);
        registry.Register(&CNotAnEntity::cls);
    }
    const bool storing = command == "store" || command == "lstore";
    const bool object = command == "store" || command == "rec";
    try {
        CArchive ar = storing ? CArchive() : CArchive(bytes, registry);
        ar.SetEncodingNotes(command == "lstore" || command == "lload" ? &notes : nullptr);
        if (object) {
            e->Serialize(ar);
        } else {
            list->Serialize(ar);
        }
        if (storing) return HexText(ar.Buffer());
        return object ? Dump(*e) : DumpList(*list);
    } catch (const CFileError& error) {
        return (error.Kind() == FileErrorKind::BadFormat ? "! " : "!! ") + std::string(error.what());
    }
}

// draw|view (drawing mode or not), BOX=TEXT typed, ok|cancel: the result; each dialog as it
// opened (DialogText); typing refused; the box of each OK refused for a number that is not
// wholly one; messages; "modified" when the document changed and
// "left-changes" when a refusal left changes; the object.
inline std::string DiagramScript::Edit(std::istream& in) {
    using S = CElementDialogState;
    static const std::map<std::string, FakeDialogHost::Box> boxes = {
        {"name", &S::name},   {"desc", &S::description}, {"values", &S::values},
        {"first", &S::first}, {"second", &S::second},    {"third", &S::third}};
    static const char* const results[] = {"rejected", "none", "changed"};
    std::string mode;
    std::string word;
    FakeDialogHost host;
    in >> mode;
    // A refused OK leaves the dialog open, so typing may go on after it.
    while (in >> word) {
        if (word == "ok") {
            host.Ok();
        } else if (word == "cancel") {
            host.Cancel();
        } else {
            const size_t eq = word.find('=');
            host.Type(boxes.at(word.substr(0, eq)), Unescaped(word.substr(eq + 1)));
        }
    }
    const int result = e->Edit(mode == "draw", host);
    std::string s = result == EDIT_UNCHANGED ? "same" : results[result];
    for (const S& d : host.shown) s += DialogText(d);
    if (host.refusedTyping) s += " refused=" + std::to_string(host.refusedTyping);
    static const char* const boxNames[] = {"name", "desc", "values", "first", "second", "third"};
    for (const int box : host.refusedBoxes) s += std::string(" not-a-number=") + boxNames[box];
    for (const std::string& m : host.messages) s += " !" + Escaped(m);
    if (EditChangedDocument(*e, result)) s += " modified";
    if (e->LastEditLeftChanges()) s += " left-changes";
    return s + " ; " + Dump(*e);
}

// POINT: "placed" or "open", "first-point" while a two-click object has its first point,
// "stage=N" of a four-click one, then what it drew.
inline std::string DiagramScript::Mouse(int32_t kind, int32_t mode, std::istream& in) {
    TrackEvent ev;
    ev.nKind = kind;
    ev.nMode = mode;
    ev.point = ReadPoint(in);
    ev.pDC = kind == TE_PRESS || kind == TE_MOVE ? &dc : nullptr;
    ev.pState = &tracking;
    std::string s = e->Track(ev) ? "placed" : "open";
    if (tracking.bTwoClickFirstPlaced) s += " first-point";
    if (tracking.nFourClickStage != 0) s += " stage=" + std::to_string(tracking.nFourClickStage);
    return Calls(dc, s);
}

// DELTA moves the current object: glued= the ends that follow it as
// connector:point/companion ; moved= the objects moved ; the list after.
inline std::string DiagramScript::Glue(std::istream& in) {
    const std::vector<CGluedEnd> glued = FindGluedEnds(*list, *e);
    std::vector<std::string> ends;
    for (const CGluedEnd& g : glued) {
        ends.push_back(Index(g.pConnector) + ":" + std::to_string(g.end.nPoint) + "/" + std::to_string(g.end.nCompanion));
    }
    std::vector<std::string> moved;
    for (const CVEntity* o : ObjectsOfMove(*e, glued)) moved.push_back(Index(o));
    MoveWithGlue(*e, glued, ReadPoint(in));
    return "glued=" + Joined(ends, " ") + " ; moved=" + Joined(moved, " ") + " ; " + DumpList(*list);
}

inline void DiagramScript::RunUpTo(const ScriptRow& row) {
    ASSERT_FALSE(row.text.empty()) << row.file << " holds no case";
    cell = CFontCell{};
    for (const GoldenCase& before : GoldenTable(row.file)) {
        if (before.line < row.line) RunRow(before.text, false);
    }
    SCOPED_TRACE(row.file + ":" + std::to_string(row.line));
    RunRow(row.text, true);
    std::setlocale(LC_ALL, "C");
    cell = CFontCell{};
}

inline void DiagramScript::RunRow(const std::string& text, bool check) {
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find(" | ", at), text.size());
        const GoldenCase c = SplitCase(text.substr(at, end - at));
        at = end + 3;
        std::istringstream in(c.input);
        std::string command;
        in >> command;
        SCOPED_TRACE(c.input.substr(0, 80));
        const std::string answer = Run(command, in);
        if (!check || c.input == c.text) continue;  // no answer expected
        const bool hex = command.find("store") != std::string::npos && c.expected[0] != '!';
        EXPECT_EQ(answer, hex ? HexText(GoldenBytes(c.expected)) : c.expected);
        const bool reader = command == "lload" || (command == "rec" && c.bothWays);
        if (answer[0] != '!' && reader) CheckBothWays(c, command);
    }
}

// The bytes read store back the same (with the notes), and every shorter prefix fails as
// ending too soon.
inline void DiagramScript::CheckBothWays(const GoldenCase& c, const std::string& command) {
    std::istringstream again(c.input);
    std::string word;
    std::string kind;
    again >> word;
    if (command == "rec") again >> kind;
    const std::vector<uint8_t> bytes = GoldenBytes(Rest(again));
    std::istringstream none;
    EXPECT_EQ(Run(command == "rec" ? "store" : "lstore", none), HexText(bytes));
    if (c.bothWays && command == "lload") {
        EXPECT_TRUE(notes.IsEmpty());
    }
    if (!c.bothWays || bytes.size() >= 1024) return;
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        std::istringstream part(kind + " " + HexText({bytes.begin(), bytes.begin() + long(cut)}));
        EXPECT_NE(Run(command, part).find("ends"), std::string::npos) << cut;
    }
}
