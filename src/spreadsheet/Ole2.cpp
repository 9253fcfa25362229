#include "spreadsheet/Ole2.h"

#include "core/Trace.h"
#include "spreadsheet/Biff.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>

#include <memory>

namespace folianto::ole2 {
namespace {

struct Unref {
    void operator()(gpointer p) const { g_object_unref(p); }
};
template <typename T> using GsfPtr = std::unique_ptr<T, Unref>;

[[noreturn]] void Fail(biff::ReadFailure::Kind kind, const char* detail = "")
{
    throw biff::ReadFailure{kind, detail};
}

// libgsf reports damaged containers on its log domain; they become trace
// lines instead of console noise, the reader reports the damage itself.
void RouteGsfMessages()
{
    static const bool routed = [] {
        g_log_set_handler("libgsf:msole", static_cast<GLogLevelFlags>(G_LOG_LEVEL_MASK),
                          [](const gchar*, GLogLevelFlags, const gchar* message, gpointer) {
                              WriteTrace(std::string("libgsf: ") + (message ? message : ""));
                          },
                          nullptr);
        return true;
    }();
    (void)routed;
}

bool SameNameIgnoringCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
        if (g_ascii_tolower(*a) != g_ascii_tolower(*b))
            return false;
    return *a == *b;
}

} // namespace

WorkbookStream ExtractWorkbookStream(const std::vector<uint8_t>& file)
{
    TraceScope trace("Ole2.ExtractWorkbookStream");
    if (file.empty())
        Fail(biff::ReadFailure::Kind::NotWorkbook);
    RouteGsfMessages();
    GsfPtr<GsfInput> input(gsf_input_memory_new(file.data(), static_cast<gsf_off_t>(file.size()), FALSE));
    GError* error = nullptr;
    GsfPtr<GsfInfile> ole(gsf_infile_msole_new(input.get(), &error));
    if (!ole) {
        g_clear_error(&error);
        Fail(biff::ReadFailure::Kind::NotWorkbook);
    }

    // Names in a compound file compare without regard to case.
    int found = -1;
    bool biff5 = false;
    const int count = gsf_infile_num_children(ole.get());
    for (int i = 0; i < count; ++i) {
        const char* name = gsf_infile_name_by_index(ole.get(), i);
        if (!name)
            continue;
        if (SameNameIgnoringCase(name, "Workbook")) {
            found = i;
            biff5 = false;
            break;
        }
        if (found < 0 && SameNameIgnoringCase(name, "Book")) {
            found = i;
            biff5 = true;
        }
    }
    if (found < 0)
        Fail(biff::ReadFailure::Kind::NotWorkbook);

    GsfPtr<GsfInput> child(gsf_infile_child_by_index(ole.get(), found));
    if (!child)
        Fail(biff::ReadFailure::Kind::Damaged, "Arbeitsmappe im Container nicht lesbar");
    const gsf_off_t size = gsf_input_size(child.get());
    // A stream never exceeds the file that holds it.
    if (size < 0 || static_cast<uint64_t>(size) > file.size())
        Fail(biff::ReadFailure::Kind::Damaged, "Arbeitsmappe im Container nicht lesbar");

    WorkbookStream result;
    result.biff5 = biff5;
    result.data.resize(static_cast<std::size_t>(size));
    std::size_t done = 0;
    while (done < result.data.size()) {
        const std::size_t chunk = std::min<std::size_t>(result.data.size() - done, 1 << 16);
        if (!gsf_input_read(child.get(), chunk, result.data.data() + done))
            Fail(biff::ReadFailure::Kind::Damaged, "Arbeitsmappe im Container nicht lesbar");
        done += chunk;
    }
    return result;
}

std::vector<uint8_t> PackWorkbookStream(const std::vector<uint8_t>& stream, const char* name)
{
    TraceScope trace("Ole2.PackWorkbookStream");
    GsfPtr<GsfOutput> memory(gsf_output_memory_new());
    {
        GsfPtr<GsfOutfile> ole(gsf_outfile_msole_new(memory.get()));
        GsfPtr<GsfOutput> child(gsf_outfile_new_child(ole.get(), name, FALSE));
        gsf_output_write(child.get(), stream.size(), stream.data());
        gsf_output_close(child.get());
        gsf_output_close(GSF_OUTPUT(ole.get()));
    } // closing the compound file closes the memory output too
    const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory.get()));
    const gsf_off_t size = gsf_output_size(memory.get());
    return std::vector<uint8_t>(bytes, bytes + size);
}

} // namespace folianto::ole2
