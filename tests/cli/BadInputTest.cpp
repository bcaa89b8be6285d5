// Every command refuses bad input before it does anything: exit 2, nothing
// on standard output, a message naming the fault. Files that are no model
// go to every command that reads one; pack then writes nothing.
#include <filesystem>

#include "Cli.h"
#include "support/ModelBytes.h"

namespace {

using Command = int (*)(const CommandArgs&, std::ostream&, std::ostream&);

TEST(Commands, BadInputExitsTwoWithAMessageAndNoOutput) {
    // L6 a level, T9 a table, E11 a switch; a and b variables.
    auto doc = samples::MixedModel(12, "graphic g\r\nplot g a b");
    for (const char* description : {"variable a 0", "variable b 0"}) doc->m_pEntityList->Add(CorpusElement(description));
    const std::string model = WriteTemp("model.vrn", doc->Store()), missing = TempPath("missing.vrn");
    const std::string packed = TempPath("packed.vrn");
    std::vector<std::tuple<Command, CommandArgs, std::string>> cases = {
        {DumpCommand, {}, "usage"}, {DumpCommand, {missing}, "missing.vrn"},
        {PackCommand, {"model.json"}, "usage"}, {PackCommand, {TempPath("missing.json"), "-o", packed}, "missing.json"},
        {CheckCommand, {}, "usage"}, {CheckCommand, {model, model}, "usage"}, {CheckCommand, {"--all"}, "unknown option '--all'"},
        {DumpCommand, {model, "--pretty"}, "unknown option '--pretty'"}, {PackCommand, {"m.json", "-o"}, "-o needs a value"},
        {CheckCommand, {missing}, "cannot read model"},
        {RunModelCommand, {}, "usage"}, {RunModelCommand, {missing}, "cannot read model"},
        {RunModelCommand, {model, "--format", "xml"}, "unknown format 'xml'"},
        {RunModelCommand, {model, "--max-steps", "ten"}, "not 'ten'"}, {RunModelCommand, {model, "--max-steps=x"}, "not 'x'"},
        {RunModelCommand, {model, "--max-steps"}, "needs a value"}, {RunModelCommand, {model, "--reference=1"}, "no value"},
        {RunModelCommand, {model, "--verbose"}, "unknown option '--verbose'"},
        {RunModelCommand, {model, "--set", "T9=1"}, "'T9'"}, {RunModelCommand, {model, "--set", "L6=fast"}, "'fast'"},
        {RunModelCommand, {model, "--set"}, "needs a value"},
        {SweepCommand, {model}, "usage"},                                   // nothing to vary
        {SweepCommand, {model, "--vary", "a=1:2"}, "--vary"},               // no count
        {SweepCommand, {model, "--vary", "a=1:2:0"}, "--vary"},             // no values
        {SweepCommand, {model, "--vary", "a=x:2:3"}, "--vary"},             // not a number
        {SweepCommand, {model, "--vary", "c=1:2:3"}, "'c'"},                // no such value
        {SweepCommand, {model, "--vary", "a=1:2:3", "--set", "a=9"}, "more than once"},
        {SweepCommand, {model, "--vary", "a=1:2:3", "--jobs", "0"}, "not '0'"},
        {SweepCommand, {model, "--vary=a=1:2:3", "--jobs=x"}, "not 'x'"}, {SweepCommand, {model, "-v"}, "unknown option '-v'"},
        {SweepCommand, {model, "--vary", "a=1:2:3000000", "--vary", "b=1:2:3000000", "--vary", "E11.value2=1:2:3000000"},
         "more than"},
        {SweepCommand, {missing, "--vary", "a=1:2:3"}, "cannot read model"},
    };
    std::vector<uint8_t> truncated = ModelFileBytes("00"), noMarker = ModelFileBytes("00");
    truncated.pop_back();
    noMarker[23] = 'X';
    const std::string graphic = "01 00 FF FF 01 00 09 00 43 56 47 72 61 70 68 69 63 00000000 00000000 ";
    const std::pair<std::vector<uint8_t>, const char*> files[] = {
        {truncated, "Bad file format"}, {HexBytes("00 00 00"), "Bad file format"}, {noMarker, "Internal data error."},
        {ModelFileBytes("00", "01 00 FF FF 01 00 04 00 43 56 58 58"), "Bad file format"},  // an unknown class
        {ModelFileBytes("00", graphic + "FFFFFF7F" + std::string(32, '0')), "Bad file format"},  // samples beyond the end
    };
    for (size_t i = 0; i < std::size(files); ++i) {
        const std::string path = WriteTemp("bad" + std::to_string(i) + ".vrn", files[i].first);
        for (Command command : {DumpCommand, CheckCommand, RunModelCommand}) cases.push_back({command, {path}, files[i].second});
        cases.push_back({SweepCommand, {path, "--vary", "a=1:2:3"}, files[i].second});
    }
    // Some found by fuzzing: a number beyond the double range escaped as
    // another exception, and models of fields each valid on their own were
    // written although the loader refuses them.
    const auto level = [](const std::string& value) {
        return ModelJson(R"({"class":"CVLevel","id":0,"points":[],"name":"a","description":"","value":)" + value + "}");
    };
    const std::pair<std::string, const char*> json[] = {
        {"{\"version\":1.0,", "not valid JSON"},
        {R"({"version":1.06e688})", "not valid JSON"},
        {"[]", "must be a JSON object"},
        {R"({"version":1.0,"width":640,"height":480,"objects":[],"program":""})", "\"fullScale\" is missing"},
        {ModelJson("", R"(,"colour":1)"), "unknown key \"colour\""},
        {ModelJson(R"({"class":"CVCircle","id":0,"points":[]})"), "unknown class \"CVCircle\""},
        {ModelJson(R"({"class":"CVLine","id":0,"points":[[1,2,3]]})"), "objects[0].points[0]"},
        {ModelJson(R"({"class":"CVLine","id":2147483648,"points":[]})"), "objects[0].id: is out of range"},
        {ModelJson(R"({"class":"CVText","id":0,"points":[],"text":"\u2603"})"),
         "objects[0].text: holds a character that code page 1251 lacks"},
        {level(R"("x")"), "objects[0].value: must be a number"}, {level("-1e309"), "number overflow"},
        {ModelJson(R"({"class":"CVTableData","id":0,"points":[],"name":"T","description":"","from":0,"to":2,)"
                   R"("step":1,"values":[1,2]})"),
         "holds 2 values but the range from, to, step calls for 3"},
        {ModelJson("", R"(,"programParts":["a"])"), "do not join"},
        {ModelJson("", R"(,"trailing":"0g")"), "trailing"},
        {ModelJson("", R"(,"encoding":{"stringPrefixes":[[0,2]]})"), "1, 3 or 7"},
        {ModelJson("", R"(,"encoding":{"classTags":[{"tag":0,"newClass":1}]})"), "not a model"},
        {ModelJson(R"({"class":"CVText","id":0,"points":[],"text":""})"),
         "would not open: Bad file format: a CVText record has too few points."},
        {ModelJson(R"({"class":"CVArrow","id":3,"points":[[155,200],[1600,10]]})"), "a CVArrow record has too few points"},
        {ModelJson(R"({"class":"CVLine","id":0,"points":[[1,2]]})"), "a CVLine record has too few points"},
    };
    for (size_t i = 0; i < std::size(json); ++i)
        cases.push_back({PackCommand, {WriteTemp("bad" + std::to_string(i) + ".json", json[i].first), "-o", packed},
                         json[i].second});
    std::filesystem::remove(packed);
    for (const auto& [command, args, message] : cases) {
        const Outcome r = Call(command, args);
        SCOPED_TRACE(args.empty() ? "no arguments" : args[0] + (args.size() > 1 ? " " + args[1] : ""));
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(packed)) << "pack wrote a model it refused";
}

}  // namespace
