// The name index of an element file: a gdbm database mapping each line's
// four keys (extension, designation, id, name; trimmed, upper case) to the
// line's byte offset, a 4-byte int in host order. One more record, under a
// key with lower-case letters that no field key can have, holds the element
// file it was built from (device, inode, size, modification time): an index
// without it, or with another, is stale.
#pragma once

#include <cstdint>
#include <cstdio>

// The answer of an index to one key.
enum CatalogIndexAnswer { kIndexFound, kIndexNoKey, kIndexBroken };

// The offset of key's line, or -1 when the index cannot be opened, has no
// such key or its value is not 4 bytes.
int64_t catalogIndexLookup(const char *indexFile, const char *key);

// The same with the reason: kIndexBroken for an index that cannot be opened,
// a value that is not 4 bytes or an error other than a missing key.
CatalogIndexAnswer catalogIndexAsk(const char *indexFile, const char *key, int64_t *offset);

// Builds the index of elementFile at indexFile through its replacement
// temporary (model/env.h), renamed when whole and removed otherwise; 50
// dots of progress and "done." on `progress` (not written when null). 1
// when the index was written; 0 when either file cannot be opened, the
// element file's size cannot be read or it is too big for 4-byte offsets,
// or the index cannot be written whole.
int catalogIndexBuildTo(const char *elementFile, const char *indexFile, FILE *progress);
// catalogIndexBuildTo with progress on standard output.
int catalogIndexBuild(const char *elementFile, const char *indexFile);

// 1 when indexFile was built from elementFile as it is now.
int catalogIndexIsCurrent(const char *indexFile, const char *elementFile);

// "tavik: Creating index file.  This may take a while." on `notice` (null:
// none) unless *shown; then *shown is 1. catalogIndexNoticeShown is the
// run's flag, so that start-up and a repair say it once between them.
void catalogIndexAnnounce(int *shown, FILE *notice);
extern int catalogIndexNoticeShown;

// Says on `notice` (null: nowhere) that indexFile could not be written and
// that the bodies are read without it; once a run for each index, however
// often its build fails.
void catalogIndexReportFailure(const char *indexFile, FILE *notice);

// Rebuilds an index found damaged while reading (with the notice on standard
// output), at most once a run for each index; 1 when it was rebuilt now. A
// failed rebuild is reported (catalogIndexReportFailure).
int catalogIndexRepair(const char *elementFile, const char *indexFile);

// Start-up's way to build a stale index: in a child process, so that the
// first chart does not wait for it. Falls back to building at once when no
// child can be made; 1 as catalogIndexBuild gives, the child's own result
// aside. Reading, checking or building that index waits for the child first.
int catalogIndexBuildAside(const char *elementFile, const char *indexFile);
// Waits for the child building indexFile, if any (null: none), and reaps
// every other child that has ended.
void catalogIndexAwait(const char *indexFile);
// The builder catalogIndexPath uses: catalogIndexBuild, or
// catalogIndexBuildAside once start-up chooses it.
extern int (*catalogIndexBuilder)(const char *elementFile, const char *indexFile);
