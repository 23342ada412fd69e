#include "layout/ddi_codebook.h"

#include <QByteArray>
#include <QXmlStreamReader>

#include <map>

#include "core/error.h"
#include "core/text.h"

namespace vesk {

namespace {

struct RecordGroup {
    std::string value;     // the record type's code in the data
    std::string id_var;    // recidvar: the variable holding the code, by ID or name
    std::string location;  // rtypeloc: its start position
};

struct DdiVariable {
    SourceVariable variable;
    std::string id;
    std::string reason;  // why it cannot be taken; empty when it can
    std::vector<std::string> group_refs;
};

std::string attribute(const QXmlStreamReader& xml, const char* name) {
    return xml.attributes().value(QLatin1String(name)).toString().trimmed().toStdString();
}

bool is_whole_number(const std::string& text) {
    return !text.empty() && text.size() < 16 &&
           text.find_first_not_of("0123456789") == std::string::npos;
}

// Start and length from StartPos, EndPos and width, whichever two or three are given; the
// reason it cannot be read otherwise.
std::string read_location(const QXmlStreamReader& xml, SourceVariable& variable) {
    const std::string start = attribute(xml, "StartPos");
    const std::string end = attribute(xml, "EndPos");
    const std::string width = attribute(xml, "width");
    const std::string segment = attribute(xml, "RecSegNo");
    if (!segment.empty() && segment != "1") {
        return "it is on line " + segment +
               " of each case (RecSegNo): vesk reads every line as one record";
    }
    for (const std::string* number : {&start, &end, &width}) {
        if (!number->empty() && !is_whole_number(*number)) {
            return "its location \"" + *number + "\" is not a whole number";
        }
    }
    if (start.empty() || (end.empty() && width.empty())) {
        return "its location gives no StartPos with an EndPos or width";
    }
    const std::int64_t from = std::stoll(start);
    const std::int64_t length = end.empty() ? std::stoll(width) : std::stoll(end) - from + 1;
    if (!end.empty() && !width.empty() && std::stoll(width) != length) {
        return "its location disagrees with itself: " + start + " to " + end + " is not " + width +
               " wide";
    }
    variable.start = start;
    variable.length = std::to_string(length);
    return {};
}

std::vector<std::string> words(const std::string& list) {
    std::vector<std::string> result;
    for (const std::string& piece : split(list, ' ')) {
        if (!trim(piece).empty()) {
            result.emplace_back(trim(piece));
        }
    }
    return result;
}

}  // namespace

bool is_ddi_codebook(std::string_view text) {
    QXmlStreamReader xml(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    while (!xml.atEnd() && !xml.hasError()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            return xml.name() == QLatin1String("codeBook");
        }
    }
    return false;
}

namespace {

// What one pass over the codebook finds: its record groups and its variables, in order.
struct DdiScan {
    std::map<std::string, RecordGroup> groups;  // by ID
    std::vector<std::string> group_order;
    std::vector<DdiVariable> variables;
};

RecordGroup read_record_group(const QXmlStreamReader& xml, std::string& id) {
    id = attribute(xml, "ID");
    RecordGroup group{attribute(xml, "rectype"), attribute(xml, "recidvar"),
                      attribute(xml, "rtypeloc")};
    if (group.value.empty()) {
        group.value = id;
    }
    return group;
}

DdiVariable read_variable_start(const QXmlStreamReader& xml) {
    DdiVariable added;
    added.variable.line = xml.lineNumber();
    added.variable.name = attribute(xml, "name");
    added.variable.type = "N";  // the schema's default varFormat
    added.variable.decimals = attribute(xml, "dcml");
    added.id = attribute(xml, "ID");
    added.group_refs = words(attribute(xml, "rectype"));
    return added;
}

DdiScan scan_codebook(std::string_view text, const std::string& path) {
    QXmlStreamReader xml(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    DdiScan scan;
    DdiVariable* current = nullptr;
    bool located = false;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("var")) {
            if (current && !located && current->reason.empty()) {
                current->reason = "the codebook gives it no location";
            }
            current = nullptr;
        }
        if (token != QXmlStreamReader::StartElement) {
            continue;
        }
        const auto name = xml.name();
        if (name == QLatin1String("recGrp")) {
            std::string id;
            RecordGroup group = read_record_group(xml, id);
            scan.group_order.push_back(id);
            scan.groups[id] = group;
        } else if (name == QLatin1String("var")) {
            current = &scan.variables.emplace_back(read_variable_start(xml));
            located = false;
        } else if (current && name == QLatin1String("location") && !located) {
            located = true;
            current->reason = read_location(xml, current->variable);
        } else if (current && name == QLatin1String("varFormat")) {
            current->variable.type = attribute(xml, "type") == "character" ? "C" : "N";
        }
    }
    if (xml.hasError()) {
        throw Error(path + " line " + std::to_string(xml.lineNumber()) +
                    ": not a well-formed codebook: " + xml.errorString().toStdString());
    }
    if (scan.variables.empty()) {
        throw Error(path + " is a DDI codebook that describes no variable (no var element)");
    }
    return scan;
}

// The record groups' codes, and the variable that holds them: named by recidvar, or found at
// rtypeloc.
RecordTypeField record_type_field(const DdiScan& scan) {
    RecordTypeField field;
    for (const std::string& id : scan.group_order) {
        const RecordGroup& group = scan.groups.at(id);
        field.values.push_back(group.value);
        for (const DdiVariable& ddi : scan.variables) {
            const bool named = !group.id_var.empty() &&
                               (ddi.id == group.id_var || ddi.variable.name == group.id_var);
            const bool placed = group.id_var.empty() && !group.location.empty() &&
                                ddi.variable.start == group.location;
            if (field.variable.empty() && (named || placed)) {
                field.variable = ddi.variable.name;
            }
        }
    }
    return field;
}

}  // namespace

LayoutSource read_ddi_codebook(std::string_view text, const std::string& path) {
    DdiScan scan = scan_codebook(text, path);
    LayoutSource source{"DDI codebook", false, {}, {}, {}};
    for (DdiVariable& ddi : scan.variables) {
        // rectype names record groups by ID; a codebook that writes the codes instead is
        // taken at its word.
        for (const std::string& ref : ddi.group_refs) {
            const auto group = scan.groups.find(ref);
            ddi.variable.record_types.push_back(group == scan.groups.end() ? ref
                                                                           : group->second.value);
        }
        if (!ddi.reason.empty()) {
            source.refusals.push_back({ddi.variable.line, ddi.variable.name, ddi.reason});
        } else {
            source.variables.push_back(ddi.variable);
        }
    }
    if (!scan.group_order.empty()) {
        source.record_type = record_type_field(scan);
    }
    return source;
}

}  // namespace vesk
