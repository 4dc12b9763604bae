// Feeds arbitrary bytes through the decoder, the parser and the validator,
// and the accessors the rows use on whatever passed.
#include "core/config/langfile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    const tess::LanguageFile file = tess::read_language_file(bytes);
    if (!file.error.isEmpty())
        return 0;
    // A file that passed must be safe for everything the window reads.
    const tess::Json &doc = file.doc;
    tess::PatchStatusMap status;
    for (const char *row : {"fonts", "dxvk", "allpatches"}) {
        const tess::Json &entry = doc.at("patches").at("static").at(row);
        tess::row_title(tess::to_qstring(entry.at("name")));
        tess::row_font_size(tess::to_qstring(entry.at("name")));
        tess::action_texts(entry.at("actions"));
    }
    for (const tess::DefaultTriple &t : tess::default_triples(doc.at("patches").at("static").at("default")))
        status.set(t.letter, {t.data, t.locale});
    const tess::Json &dynamic = doc.at("patches").at("dynamic");
    for (auto it = dynamic.begin(); it != dynamic.end(); ++it) {
        if (tess::is_empty(it.value().at("name")))
            continue;
        for (const tess::Choice &c : tess::patch_choices(it.value().at("actions")))
            if (c.status.size() != 2)
                __builtin_trap();
        const tess::Json conditions = it.value().at("conditions");  // each row keeps a copy
        for (const tess::Condition &c : tess::conditions_of(conditions))
            tess::condition_holds(c, status);
    }
    return 0;
}
