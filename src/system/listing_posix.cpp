#include "system/native.h"

namespace tess {

// readdir's entry types spare a stat per file: the scans list whole trees
// after every switch, so this is where their time goes.
FolderListing list_folder(const QString &dir)
{
    FolderListing listing;
    const NativeName native = native_name(dir.isEmpty() ? QStringLiteral(".") : dir);
    DIR *d = ::opendir(native.constData());
    if (!d)
        return listing;
    struct stat st;
    if (::fstat(::dirfd(d), &st) == 0) {
        listing.identified = true;
        listing.id = {quint64(st.st_dev), quint64(st.st_ino)};
    }
    while (const dirent *e = ::readdir(d)) {
        const char *n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0)))
            continue;
        FolderEntry entry{decode_path(n, int(qstrlen(n))), e->d_type == DT_DIR, e->d_type == DT_LNK};
        if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
            const QByteArray path = native + '/' + n;
            entry.isLink = ::lstat(path.constData(), &st) == 0 && S_ISLNK(st.st_mode);
            entry.isDir = ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        listing.entries.push_back(std::move(entry));
    }
    ::closedir(d);
    return listing;
}

}  // namespace tess
