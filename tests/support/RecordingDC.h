// A drawing context that draws nothing and records every call with its
// arguments as one readable line, e.g. "LineTo(100,200)" or
// "SetPen(solid,1,#0000ff)". It also keeps the state the calls set (pen,
// font, raster mode), so queries answer like a real context.
#pragma once
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "diagram/DrawContext.h"

class RecordingDC : public CDrawContext {
public:
    // Every call, queries included, in order (mutable: the queries are
    // const in the interface but are recorded too).
    mutable std::vector<std::string> calls;

    // The calls without the GetPen/GetFont queries.
    std::vector<std::string> Ops() const {
        std::vector<std::string> ops;
        for (const std::string& c : calls)
            if (c.rfind("Get", 0) != 0) ops.push_back(c);
        return ops;
    }
    void Clear() { calls.clear(); }

    CPen pen;  // starts as a black solid pen of width 1
    CFontSpec font{0, 0, 400, false, "System"};
    int32_t rop = R2_COPYPEN;

    static std::string Pt(CPoint p) { return "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")"; }
    static std::string Rc(const CRect& r) {
        return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
               std::to_string(r.bottom) + ")";
    }
    static std::string Hex(uint32_t v) {
        char buf[16];
        return std::string(buf, std::snprintf(buf, sizeof buf, "0x%x", v));
    }
    static std::string Color(COLORREF c) {
        char buf[16];
        return std::string(buf, std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
    }
    static std::string PenText(const CPen& p) {
        return std::string(p.nStyle == PS_SOLID ? "solid" : p.nStyle == PS_DASH ? "dash" : std::to_string(p.nStyle)) +
               "," + std::to_string(p.nWidth) + "," + Color(p.color);
    }
    static std::string FontText(const CFontSpec& f) {
        return std::to_string(f.nHeight) + "x" + std::to_string(f.nWidth) + "," + std::to_string(f.nWeight) + "," +
               (f.bUnderline ? "underline," : "") + f.strFace;
    }

    void MoveTo(CPoint p) override { calls.push_back("MoveTo" + Pt(p)); }
    void LineTo(CPoint p) override { calls.push_back("LineTo" + Pt(p)); }
    void Rectangle(const CRect& r) override { calls.push_back("Rectangle" + Rc(r)); }
    void Ellipse(const CRect& r) override { calls.push_back("Ellipse" + Rc(r)); }
    void PolyBezier(const CPoint* points, int count) override {
        std::string s = "PolyBezier[";
        // Points apart by a blank, so that a long curve can wrap in a golden file.
        for (int i = 0; i < count; ++i) s += (i ? " " : "") + Pt(points[i]);
        calls.push_back(s + "]");
    }
    // Text flags by name: "center|wordbreak", "left" for none.
    static std::string FlagsText(uint32_t flags) {
        const std::pair<uint32_t, const char*> names[] = {
            {DT_CENTER, "center"}, {DT_WORDBREAK, "wordbreak"}, {DT_SINGLELINE, "singleline"}, {DT_NOCLIP, "noclip"}};
        std::string s;
        for (const auto& [bit, name] : names) {
            if ((flags & bit) == 0) continue;
            if (!s.empty()) s += "|";
            s += name;
            flags &= ~bit;
        }
        if (flags != 0) s += (s.empty() ? "" : "|") + Hex(flags);
        return s.empty() ? "left" : s;
    }
    static std::string RopText(int32_t mode) {
        if (mode == R2_NOTXORPEN) return "notxor";
        if (mode == R2_COPYPEN) return "copy";
        return std::to_string(mode);
    }
    void DrawText(const std::string& text, const CRect& box, uint32_t flags) override {
        calls.push_back("DrawText(\"" + text + "\"," + Rc(box) + "," + FlagsText(flags) + ")");
    }
    CPen GetPen() const override {
        calls.push_back("GetPen()");
        return pen;
    }
    void SetPen(const CPen& p) override {
        calls.push_back("SetPen(" + PenText(p) + ")");
        pen = p;
    }
    CFontSpec GetFont() const override {
        calls.push_back("GetFont()");
        return font;
    }
    void SetFont(const CFontSpec& f) override {
        calls.push_back("SetFont(" + FontText(f) + ")");
        font = f;
    }
    void SetTextColor(COLORREF c) override { calls.push_back("SetTextColor(" + Color(c) + ")"); }
    int32_t SetROP2(int32_t mode) override {
        calls.push_back("SetROP2(" + RopText(mode) + ")");
        return std::exchange(rop, mode);
    }
};
