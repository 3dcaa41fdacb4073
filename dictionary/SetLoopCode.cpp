#include "dictionary/SetLoopCode.h"

#include "config/ConfigRecord.h"
#include "runtime/FixedText.h"

#include <algorithm>

namespace kestrix::dictionary {

namespace {

using config::Cfg::Field;

std::string padded(std::string text, std::size_t width)
{
    if (text.size() < width)
        text.resize(width, ' ');
    return text;
}

struct Widths
{
    std::size_t field = 0;
    std::size_t value = 5;
};

Widths widthsOf(const std::vector<Component>& components)
{
    Widths w;
    for (const Component& c : components) {
        w.field = std::max(w.field, c.field.size());
        w.value = std::max(w.value, c.value.size());
    }
    return w;
}

bool readsBackwards(const SetGenerator& sg)
{
    return !sg.next.empty() && (sg.next[0] == 'P' || sg.next[0] == 'p');
}

std::string endIf(const CodeStyle& style)
{
    return style.endComment ? "END !IF" : "END";
}

} // namespace

bool isNoLink(const Component& c)
{
    return runtime::upper(c.field) == "NOLINK";
}

CodeStyle codeStyleOf(const runtime::Record& configuration, bool abc)
{
    CodeStyle style;
    style.abc = abc;
    style.indent = std::string(
        static_cast<std::size_t>(std::max<std::int64_t>(0, configuration.number(config::Cfg::NestIndent))),
        ' ');
    style.endComment = configuration.number(config::Cfg::EndComment) != 0;
    style.streamV = runtime::clip(configuration.text(config::Cfg::StreamV));
    style.yieldV = runtime::clip(configuration.text(config::Cfg::YieldV));
    return style;
}

SetGenerator setGeneratorFor(const std::string& fileName, const std::string& keyName, SetType type,
                             bool hasMemo, const runtime::Record& configuration)
{
    SetGenerator sg;
    sg.fileName = fileName;
    sg.keyName = keyName;
    sg.setType = static_cast<int>(type);
    sg.hasMemo = hasMemo;
    sg.actionFile = fileName;
    sg.flushRecords = static_cast<int>(configuration.number(config::Cfg::StreamRecords));
    sg.yieldRecords = static_cast<int>(configuration.number(config::Cfg::YieldRecords));
    return sg;
}

std::optional<std::string> setLoopTitle(int setType, std::string& problem)
{
    switch (setType) {
    case 1:
        return "SET(File)";
    case 2:
        return "SET(Key)";
    case 3:
        return "SET(Key,Key)";
    case 4:
        return "SET(Key,Key) Relation";
    default:
        problem = "Invalid type: " + std::to_string(setType);
        return std::nullopt;
    }
}

std::vector<std::string> keyPreparationLines(const SetGenerator& sg, const KeyContext& key,
                                             const CodeStyle& style)
{
    std::vector<std::string> lines;
    const bool backwards = readsBackwards(sg);
    if (style.abc) {
        lines.push_back("Access:" + sg.fileName + ".ClearKey(" + sg.keyName + ")");
    } else {
        if (key.relation)
            lines.push_back("CLEAR(" + key.qualifier + "RECORD)");
        else if (backwards)
            lines.push_back("CLEAR(" + key.qualifier + "RECORD, +1)   !Clear High for PREVIOUS()");
        else
            lines.push_back("CLEAR(" + key.qualifier + "RECORD, -1)");
        if (!key.relation) {
            for (const Component& c : key.components) {
                if (!c.descending || isNoLink(c))
                    continue;
                lines.push_back(backwards ? "CLEAR(" + c.field +
                                                ", -1)  !-Descending Segment, Clear High 4 PREVIOUS"
                                          : "CLEAR(" + c.field + ", +1)  !-Descending Segment");
            }
        }
    }
    if (key.isIndex)
        lines.push_back("!BUILD(" + sg.keyName + ")  !build index?");
    const Widths w = widthsOf(key.components);
    for (const Component& c : key.components) {
        if (!isNoLink(c))
            lines.push_back(padded(c.field, w.field) + " = " + runtime::clip(c.value));
    }
    return lines;
}

std::vector<std::string> setLoopLines(const SetGenerator& sg, const KeyContext& key,
                                      const AssignmentList& assignments, const CodeStyle& style)
{
    std::vector<std::string> out;
    const std::string& file = sg.fileName;
    const std::string& keyName = sg.keyName;
    const std::string af = runtime::isBlank(sg.actionFile) ? file : runtime::clip(sg.actionFile);
    const std::string action = runtime::upper(runtime::trim(sg.action));
    const std::string next = runtime::clip(sg.next);
    const std::string& ind = style.indent;
    const std::string& sv = style.streamV;
    const std::string& yv = style.yieldV;
    const std::string save = "Save_" + key.prefix + "_Id";
    const bool actionOnLoopFile = runtime::sameTextNoCase(af, file);
    const bool ranged = sg.setType == 3 || sg.setType == 4;

    if (sg.cursorWait)
        out.push_back("SETCURSOR(CURSOR:Wait)");
    if (sg.abcSave) {
        out.push_back(save + "   USHORT,AUTO");
        out.push_back(save + " = Access:" + file + ".SaveFile()");
    }
    if (sg.logout) {
        out.push_back("LOGOUT(2," + af + ")");
        out.push_back("IF ERRORCODE()");
        out.push_back("   Logout failed??");
        out.push_back("END");
    }
    if (sg.stream)
        out.push_back("STREAM(" + af + ")" + (sg.flushEvery ? " ; " + sv + " = 0" : ""));

    switch (sg.setType) {
    case 1:
        out.push_back("SET(" + file + ")");
        break;
    case 2:
        out.push_back("SET(" + keyName + ")");
        break;
    default: {
        for (std::string& line : keyPreparationLines(sg, key, style))
            out.push_back(std::move(line));
        out.push_back("SET(" + keyName + "," + keyName + ")");
    }
    }

    out.push_back("LOOP");
    if (sg.noMemo)
        out.push_back(ind + "NOMEMO(" + file + ")");
    if (action == "PUT" && actionOnLoopFile)
        out.push_back(ind + "WATCH(" + af + ")");

    if (style.abc) {
        out.push_back(ind + "IF Access:" + file + "." + next + "()");
        out.push_back(ind + "   BREAK");
        out.push_back(ind + endIf(style));
    } else {
        out.push_back(ind + next + "(" + file + ")");
    }

    const std::string endRange = style.endComment ? "  ! END IF" : "";
    if (!style.abc && !ranged) {
        out.push_back(ind + "IF ERRORCODE() THEN BREAK.");
    } else if (!style.abc) {
        const Widths w = widthsOf(key.components);
        const std::size_t gap =
            std::max<std::ptrdiff_t>(2, static_cast<std::ptrdiff_t>(w.field + w.value) - 5);
        out.push_back(ind + "IF ERRORCODE() " + std::string(gap, ' ') + " |");
        for (const Component& c : key.components) {
            if (!isNoLink(c))
                out.push_back(ind + "   OR " + padded(c.field, w.field) + " <> " + padded(c.value, w.value) +
                              " |");
        }
        out.push_back(ind + "   THEN BREAK." + endRange);
    } else if (ranged) {
        bool first = true;
        for (const Component& c : key.components) {
            if (isNoLink(c))
                continue;
            out.push_back(ind + (first ? "IF " : "OR ") + c.field + " <> " + c.value + " |");
            first = false;
        }
        // Without a compare line the read above already ends the loop.
        if (!first)
            out.push_back(ind + "    THEN BREAK." + endRange);
    }

    for (std::string& line : assignmentLines(assignments, ind))
        out.push_back(std::move(line));

    if (action == "PUT" && !actionOnLoopFile) {
        out.push_back(ind + "! WATCH(" + af + ")");
        out.push_back(ind + "! GET(" + af + ", ? )");
    }

    const bool acts = action == "PUT" || action == "DELETE" || action == "ADD" || action == "APPEND";
    if (acts && style.abc) {
        std::string call;
        if (action == "PUT")
            call = "Access:" + af + ".TryUpdate()";
        else if (action == "DELETE")
            call = "Relate:" + af + ".TryDelete(Confirm?)";
        else
            call = "Access:" + af + ".TryInsert()";
        out.push_back(ind + "IF " + call + "   !" + action + "(" + af + ")");
        out.push_back(ind + "   failed check Access:" + af + ".GetError()");
        out.push_back(ind + endIf(style));
    } else if (acts) {
        out.push_back(ind + "? " + action + "(" + af + ")");
        out.push_back(ind + "CASE ERRORCODE()");
        out.push_back(ind + "OF NoError");
        if (action != "DELETE" && action != "APPEND")
            out.push_back(ind + "OF DupKeyErr");
        if (action == "PUT")
            out.push_back(ind + "OF RecordChangedErr");
        out.push_back(ind + "ELSE");
        out.push_back(ind + "    STOP('" + action + " '&CLIP(ERRORFILE())&' Error: '&ERROR() )");
        out.push_back(ind + "END");
    }

    if (sg.stream && sg.flushEvery && sg.flushRecords != 0) {
        out.push_back(ind + sv + " += 1");
        out.push_back(ind + "IF " + sv + " > " + std::to_string(sg.flushRecords));
        out.push_back(ind + "   FLUSH(" + af + ") ;" + (sg.yieldEvery ? " YIELD() ;" : "") + " STREAM(" + af +
                      ") ; " + sv + " = 0");
        out.push_back(ind + endIf(style));
    }
    if (!sg.stream && sg.yieldEvery && sg.yieldRecords != 0) {
        out.push_back(ind + yv + " += 1");
        out.push_back(ind + "IF " + yv + " > " + std::to_string(sg.yieldRecords));
        out.push_back(ind + "   YIELD() ; " + yv + " = 0");
        out.push_back(ind + endIf(style));
    }

    out.push_back(style.endComment ? "END !LOOP" : "END");
    if (sg.stream)
        out.push_back("FLUSH(" + af + ")");
    if (sg.logout) {
        out.push_back("COMMIT()");
        out.push_back("IF ERRORCODE()");
        out.push_back("   Commit failed??");
        out.push_back("END");
    }
    if (action == "APPEND") {
        out.push_back("! BUILD(" + af + ")       !Append requires build");
        out.push_back("! IF ERRORCODE()       !May require exclusive access");
        out.push_back("!     STOP('Error on BUILD(" + af + "): '&ERROR() )");
        out.push_back("! END");
    }
    if (sg.abcSave)
        out.push_back("Access:" + file + ".RestoreFile(" + save + ")");
    if (sg.cursorWait)
        out.push_back("SETCURSOR()");
    return out;
}

} // namespace kestrix::dictionary
