#include "model/catalog_index.h"

#include <gdbm.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "model/element_lines.h"
#include "model/env.h"
#include "model/file_input.h"
#include "model/resource_text.h"

int catalogIndexNoticeShown = 0;

namespace {

constexpr int kIndexBlockSize = 512;
constexpr mode_t kIndexMode = 0644;
constexpr int kProgressSteps = 50;
// Lower-case letters: no field key has them (keys are upper-cased).
constexpr char kSourceKey[] = "source file";

// What the index was built from.
struct IndexSource {
    int64_t device, inode, size, mtimeSec, mtimeNsec;
};

IndexSource sourceOf(const struct stat &st)
{
    return {static_cast<int64_t>(st.st_dev), static_cast<int64_t>(st.st_ino), static_cast<int64_t>(st.st_size),
            static_cast<int64_t>(st.st_mtim.tv_sec), static_cast<int64_t>(st.st_mtim.tv_nsec)};
}

datum textDatum(const char *text, size_t n)
{
    datum d;
    d.dptr = const_cast<char *>(text);
    d.dsize = static_cast<int>(n);
    return d;
}

// The index opened for looking up; a FIFO or device in its place is
// refused without waiting on it.
GDBM_FILE openIndexReader(const char *indexFile)
{
    const int fd = openRegularFd(indexFile);
    if (fd < 0)
        return nullptr;
    return gdbm_fd_open(fd, indexFile, kIndexBlockSize, GDBM_READER | GDBM_NOMMAP | GDBM_CLOERROR, nullptr);
}

} // namespace

void catalogIndexAnnounce(int *shown, FILE *notice)
{
    if (!notice || *shown)
        return;
    std::fputs("tavik: Creating index file.  This may take a while.\n", notice);
    std::fflush(notice);
    *shown = 1;
}

CatalogIndexAnswer catalogIndexAsk(const char *indexFile, const char *key, int64_t *offset)
{
    catalogIndexAwait(indexFile);
    *offset = -1;
    GDBM_FILE db = openIndexReader(indexFile);
    if (!db)
        return kIndexBroken;
    datum value = gdbm_fetch(db, textDatum(key, std::strlen(key)));
    CatalogIndexAnswer answer = kIndexFound;
    if (!value.dptr) {
        answer = gdbm_last_errno(db) == GDBM_ITEM_NOT_FOUND ? kIndexNoKey : kIndexBroken;
    } else if (value.dsize != 4) {
        answer = kIndexBroken;
    } else {
        int32_t v;
        std::memcpy(&v, value.dptr, sizeof v);
        *offset = v;
        if (v < 0)
            answer = kIndexBroken;
    }
    std::free(value.dptr);
    gdbm_close(db);
    return answer;
}

int64_t catalogIndexLookup(const char *indexFile, const char *key)
{
    int64_t offset;
    return catalogIndexAsk(indexFile, key, &offset) == kIndexFound ? offset : -1;
}

int catalogIndexIsCurrent(const char *indexFile, const char *elementFile)
{
    catalogIndexAwait(indexFile);
    struct stat st;
    if (stat(elementFile, &st) != 0)
        return 0;
    GDBM_FILE db = openIndexReader(indexFile);
    if (!db)
        return 0;
    datum value = gdbm_fetch(db, textDatum(kSourceKey, sizeof kSourceKey - 1));
    IndexSource now = sourceOf(st), stored;
    int current = value.dptr && value.dsize == static_cast<int>(sizeof stored);
    if (current) {
        std::memcpy(&stored, value.dptr, sizeof stored);
        current = std::memcmp(&stored, &now, sizeof now) == 0;
    }
    std::free(value.dptr);
    gdbm_close(db);
    return current;
}

int catalogIndexBuildTo(const char *elementFile, const char *indexFile, FILE *progress)
{
    catalogIndexAwait(indexFile);
    FILE *in = openRegularFile(elementFile);
    if (!in)
        return 0;
    struct stat st;
    if (fstat(fileno(in), &st) != 0 || st.st_size > INT32_MAX) {
        std::fclose(in);
        return 0;
    }
    // A cut build (a full disk) leaves nothing behind: the old index, if
    // any, stays whole and the temporary goes.
    EnvReplacement r;
    if (!envStartReplacement(&r, indexFile)) {
        std::fclose(in);
        return 0;
    }
    if (fchmod(fileno(r.out), kIndexMode) != 0) {
        // the temporary keeps the user's default mode
    }
    GDBM_FILE db = gdbm_open(r.temp, kIndexBlockSize, GDBM_NEWDB, kIndexMode, nullptr);
    if (!db) {
        std::fclose(in);
        return envFinishReplacement(&r, 0);
    }
    const int64_t total = st.st_size;
    int64_t read = 0;
    int dots = 0, ok = 1;
    char text[kElementLineSize];
    int64_t bytes;
    while (ok && readElementFileLine(in, text, &bytes)) {
        const int32_t offset = static_cast<int32_t>(read);
        for (int f = 0; f < kElementKeyFields && ok; ++f) {
            char key[kElementKeySize];
            elementLineKey(text, static_cast<ElementKeyField>(f), key);
            if (!key[0])
                continue;
            ok = gdbm_store(db, textDatum(key, std::strlen(key)),
                            textDatum(reinterpret_cast<const char *>(&offset), sizeof offset), GDBM_REPLACE) == 0;
        }
        read += bytes;
        const int done = total > 0 ? static_cast<int>(std::min<int64_t>(read, total) * kProgressSteps / total) : 0;
        for (; progress && dots < done; ++dots)
            std::fputc('.', progress);
        if (progress)
            std::fflush(progress);
    }
    ok = ok && !std::ferror(in);
    std::fclose(in);
    if (ok) {
        IndexSource source = sourceOf(st);
        ok = gdbm_store(db, textDatum(kSourceKey, sizeof kSourceKey - 1),
                        textDatum(reinterpret_cast<const char *>(&source), sizeof source), GDBM_REPLACE) == 0;
    }
    ok = gdbm_close(db) == 0 && ok;
    if (progress) {
        for (; dots < kProgressSteps; ++dots)
            std::fputc('.', progress);
        std::fputs("done.\n", progress);
        std::fflush(progress);
    }
    return envFinishReplacement(&r, ok);
}

int catalogIndexBuild(const char *elementFile, const char *indexFile)
{
    return catalogIndexBuildTo(elementFile, indexFile, stdout);
}

namespace {

// 1 the first time `indexFile` is in `list` this run (it is added), else 0.
int firstTimeFor(std::vector<std::string> *list, const char *indexFile)
{
    for (const std::string &done : *list)
        if (done == indexFile)
            return 0;
    list->emplace_back(indexFile);
    return 1;
}

} // namespace

void catalogIndexReportFailure(const char *indexFile, FILE *notice)
{
    static std::vector<std::string> reported;
    if (!notice || !firstTimeFor(&reported, indexFile))
        return;
    char format[256];
    getResourceFormat("messageIndexNotWritten", "s", format, sizeof format);
    std::fprintf(notice, format, indexFile);
    std::fputc('\n', notice);
    std::fflush(notice);
}

int catalogIndexRepair(const char *elementFile, const char *indexFile)
{
    static std::vector<std::string> repaired;
    if (!firstTimeFor(&repaired, indexFile))
        return 0;
    catalogIndexAnnounce(&catalogIndexNoticeShown, stdout);
    if (catalogIndexBuild(elementFile, indexFile))
        return 1;
    catalogIndexReportFailure(indexFile, stdout);
    return 0;
}
