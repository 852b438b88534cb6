#include "model/env.h"
#include "model/file_input.h"

#include "model/app_data.h"
#include "model/lexing.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

// The user database, with TAVIK_HOME standing in for the current user.
static int userDatabaseHome(const char *user, char *dst, int len)
{
    if (!user) {
        const char *override = std::getenv("TAVIK_HOME");
        if (override && *override)
            return strCopyBounded(dst, len, override);
    }
    char storage[4096];
    struct passwd entry;
    struct passwd *found = nullptr;
    int rc = user ? getpwnam_r(user, &entry, storage, sizeof storage, &found)
                  : getpwuid_r(getuid(), &entry, storage, sizeof storage, &found);
    if (rc != 0 || !found || !found->pw_dir)
        return 0;
    return strCopyBounded(dst, len, found->pw_dir);
}

static EnvHomeLookup homeLookup = userDatabaseHome;

void envSetHomeLookup(EnvHomeLookup lookup)
{
    homeLookup = lookup ? lookup : userDatabaseHome;
}

int envHomeDir(char *dst, int len, const char *user)
{
    if (len <= 0)
        return 0;
    if (!homeLookup(user, dst, len)) {
        dst[0] = '\0';
        return 0;
    }
    return 1;
}

char *envExpandTilde(const char *path, char *out, int outSize)
{
    if (outSize <= 0)
        return nullptr;
    const char *rest = path;
    char home[kEnvPathSize * 4];
    home[0] = '\0';
    if (path[0] == '~') {
        const char *slash = std::strchr(path, '/');
        size_t nameLen = slash ? static_cast<size_t>(slash - path - 1) : std::strlen(path + 1);
        int known;
        if (nameLen == 0) {
            known = envHomeDir(home, sizeof home, nullptr);
        } else {
            char user[256];
            known = nameLen < sizeof user;
            if (known) {
                std::memcpy(user, path + 1, nameLen);
                user[nameLen] = '\0';
                known = envHomeDir(home, sizeof home, user);
            }
        }
        // An unknown user keeps the text as typed rather than turning
        // "~nosuch/x" into "/x", a different file.
        if (known)
            rest = path + 1 + nameLen;
        else
            home[0] = '\0';
    }
    size_t homeLen = std::strlen(home);
    size_t restLen = std::strlen(rest);
    if (homeLen + restLen + 1 > static_cast<size_t>(outSize)) {
        out[0] = '\0';
        return nullptr;
    }
    std::memcpy(out, home, homeLen);
    std::memcpy(out + homeLen, rest, restLen + 1);
    return out;
}

int envJoinPath(char *dst, int size, const char *a, const char *b)
{
    size_t al = std::strlen(a), bl = std::strlen(b);
    if (size <= 0 || al + bl + 1 > static_cast<size_t>(size)) {
        if (size > 0)
            dst[0] = '\0';
        return 0;
    }
    std::memcpy(dst, a, al);
    std::memcpy(dst + al, b, bl + 1);
    return 1;
}

int envMakeUserDir(char *dir, int dirSize, char *rcPath, int rcSize)
{
    char home[kEnvPathSize];
    int ok = envHomeDir(home, sizeof home, nullptr) && home[0] &&
             envJoinPath(dir, dirSize, home, "/.tavik") &&
             envJoinPath(rcPath, rcSize, dir, "/tavikrc");
    if (ok && mkdir(dir, 0755) != 0) {
        struct stat st;
        ok = errno == EEXIST && stat(dir, &st) == 0 && S_ISDIR(st.st_mode);
    }
    if (!ok) {
        if (dirSize > 0)
            dir[0] = '\0';
        if (rcSize > 0)
            rcPath[0] = '\0';
    }
    return ok;
}

namespace {

constexpr char kReplacementSuffix[] = ".$NEW$";

// The file a replacement lands on: path itself, or for a symbolic link the
// file it finally names, so that the link stays a link and its target gets
// the new text. A relative link is read from the link's own directory.
int replacementTarget(const char *path, char *dst, int size)
{
    char current[kEnvLinkTargetSize];
    if (!strCopyBounded(current, sizeof current, path))
        return 0;
    for (int hops = 0; hops < 40; ++hops) { // as the kernel's own loop limit
        struct stat st;
        if (lstat(current, &st) != 0 || !S_ISLNK(st.st_mode))
            return strCopyBounded(dst, size, current);
        char link[kEnvLinkTargetSize];
        ssize_t n = readlink(current, link, sizeof link - 1);
        if (n < 0 || n >= static_cast<ssize_t>(sizeof link) - 1)
            return 0;
        link[n] = '\0';
        const char *slash = std::strrchr(current, '/');
        if (link[0] == '/' || !slash) {
            std::memcpy(current, link, static_cast<size_t>(n) + 1);
            continue;
        }
        size_t dirLen = static_cast<size_t>(slash - current) + 1;
        if (dirLen + static_cast<size_t>(n) + 1 > sizeof current)
            return 0;
        std::memcpy(current + dirLen, link, static_cast<size_t>(n) + 1);
    }
    return 0;
}

// 1 when an existing file may be replaced: a regular file that the user can
// read (else its settings were never in force, and its lines would be lost)
// and write. The mode bits are asked too, so that a file made read-only or
// unreadable stays as it is for root, whom access() lets through.
int mayReplace(const char *target)
{
    struct stat st;
    if (stat(target, &st) != 0)
        return errno == ENOENT;
    const mode_t anyRead = S_IRUSR | S_IRGRP | S_IROTH, anyWrite = S_IWUSR | S_IWGRP | S_IWOTH;
    return S_ISREG(st.st_mode) && (st.st_mode & anyRead) && (st.st_mode & anyWrite) &&
           access(target, R_OK) == 0 && access(target, W_OK) == 0;
}

} // namespace

int envStartReplacement(EnvReplacement *r, const char *path)
{
    r->out = nullptr;
    char target[kEnvLinkTargetSize];
    if (!replacementTarget(path, target, sizeof target) || !mayReplace(target) ||
        !envJoinPath(r->temp, sizeof r->temp, target, kReplacementSuffix)) {
        r->temp[0] = '\0';
        return 0;
    }
    r->out = std::fopen(r->temp, "w");
    return r->out != nullptr;
}

int envFinishReplacement(EnvReplacement *r, int ok)
{
    if (!r->out)
        return 0;
    // The temporary sits beside the file it replaces: its name less the suffix.
    char target[kEnvLinkTargetSize];
    const size_t suffixLen = sizeof kReplacementSuffix - 1;
    const size_t targetLen = std::strlen(r->temp) - suffixLen;
    std::memcpy(target, r->temp, targetLen);
    target[targetLen] = '\0';
    FILE *out = r->out;
    r->out = nullptr;
    // The new file keeps the old one's mode and, where the user may, its owner.
    struct stat st;
    if (ok && stat(target, &st) == 0) {
        if (fchown(fileno(out), st.st_uid, st.st_gid) != 0) {
            // not the owner: the file becomes the user's, as any new file would
        }
        if (fchmod(fileno(out), st.st_mode & 07777) != 0)
            ok = 0;
    }
    if (ok && (std::fflush(out) != 0 || fsync(fileno(out)) != 0))
        ok = 0;
    if (std::fclose(out) != 0)
        ok = 0;
    if (ok && std::rename(r->temp, target) != 0)
        ok = 0;
    if (!ok)
        std::remove(r->temp);
    return ok;
}

namespace {

// The first bytes of the next line into start[kEnvLineStartSize]
// (NUL-terminated, *n of them); *whole when the line end or the end of the
// file came among them. 0 at the end of the file.
int readLineStart(FILE *in, char *start, size_t *n, int *whole)
{
    size_t count = 0;
    int c = EOF;
    while (count < static_cast<size_t>(kEnvLineStartSize) - 1 && (c = std::getc(in)) != EOF) {
        start[count++] = static_cast<char>(c);
        if (c == '\n')
            break;
    }
    start[count] = '\0';
    *n = count;
    *whole = c == '\n' || c == EOF;
    if (!*whole) {
        // Exactly full: the line may end right here.
        const int next = std::getc(in);
        if (next == EOF)
            *whole = 1;
        else
            std::ungetc(next, in);
    }
    return count > 0;
}

// The rest of a line after its start: copied to out (or dropped when out
// is null) up to and including its line end. 0 when a write failed.
int passRestOfLine(FILE *in, FILE *out)
{
    int c;
    while ((c = std::getc(in)) != EOF) {
        if (out && std::putc(c, out) == EOF)
            return 0;
        if (c == '\n')
            break;
    }
    return 1;
}

} // namespace

int envRewriteLines(const char *path, int missingIsEmpty, const EnvLineRewrite *rewrite)
{
    EnvReplacement r;
    if (!envStartReplacement(&r, path))
        return 0;
    FILE *in = openRegularFile(path);
    int ok = in != nullptr || (errno == ENOENT && missingIsEmpty);
    if (ok && rewrite->head)
        ok = std::fputs(rewrite->head, r.out) >= 0;
    char start[kEnvLineStartSize];
    size_t n;
    int whole;
    for (long number = 1; ok && in && readLineStart(in, start, &n, &whole); ++number) {
        const char *replacement = nullptr;
        switch (rewrite->edit(rewrite->context, start, number, &replacement)) {
        case kEnvLineKeep:
            ok = std::fwrite(start, 1, n, r.out) == n && (whole || passRestOfLine(in, r.out));
            break;
        case kEnvLineReplace:
            ok = replacement && std::fputs(replacement, r.out) >= 0;
            if (!whole)
                passRestOfLine(in, nullptr);
            break;
        case kEnvLineDrop:
            if (!whole)
                passRestOfLine(in, nullptr);
            break;
        }
    }
    if (in) {
        if (std::ferror(in))
            ok = 0;
        std::fclose(in);
    }
    const char *append = nullptr;
    if (ok && rewrite->finish)
        ok = rewrite->finish(rewrite->context, &append);
    if (ok && append)
        ok = std::fputs(append, r.out) >= 0;
    return envFinishReplacement(&r, ok);
}

int envCopyFile(const char *from, const char *to)
{
    FILE *in = openRegularFile(from);
    if (!in)
        return 0;
    EnvReplacement r;
    if (!envStartReplacement(&r, to)) {
        std::fclose(in);
        return 0;
    }
    static char block[16384];
    int ok = 1;
    for (;;) {
        size_t n = std::fread(block, 1, sizeof block, in);
        if (n > 0 && std::fwrite(block, 1, n, r.out) != n) {
            ok = 0;
            break;
        }
        if (n < sizeof block) {
            ok = !std::ferror(in);
            break;
        }
    }
    std::fclose(in);
    return envFinishReplacement(&r, ok);
}

static int isExecutableFile(const char *path)
{
    struct stat st;
    return stat(path, &st) == 0 && S_ISREG(st.st_mode) && access(path, X_OK) == 0;
}

int envProgramOnPath(const char *commandLine)
{
    char program[kEnvPathSize];
    size_t n = std::strcspn(commandLine, " ");
    if (n == 0 || n >= sizeof program)
        return 0;
    std::memcpy(program, commandLine, n);
    program[n] = '\0';
    if (std::strchr(program, '/'))
        return isExecutableFile(program);
    const char *path = std::getenv("PATH");
    if (!path)
        return 0;
    for (const char *dir = path;; ++dir) {
        size_t dirLen = std::strcspn(dir, ":");
        char candidate[kEnvPathSize * 2];
        // An empty entry is the current directory.
        const char *prefix = dirLen ? dir : ".";
        size_t prefixLen = dirLen ? dirLen : 1;
        if (prefixLen + 1 + n + 1 <= sizeof candidate) {
            std::memcpy(candidate, prefix, prefixLen);
            candidate[prefixLen] = '/';
            std::memcpy(candidate + prefixLen + 1, program, n + 1);
            if (isExecutableFile(candidate))
                return 1;
        }
        dir += dirLen;
        if (*dir == '\0')
            return 0;
    }
}

void envLocalizedPathFor(char *path, int len, const char *code)
{
    if (!code[0])
        return;
    char localized[kEnvPathSize * 2];
    size_t pl = std::strlen(path), cl = std::strlen(code);
    if (pl + 1 + cl + 1 > sizeof localized || pl + 1 + cl + 1 > static_cast<size_t>(len))
        return;
    std::memcpy(localized, path, pl);
    localized[pl] = '.';
    std::memcpy(localized + pl + 1, code, cl + 1);
    if (access(localized, R_OK) == 0)
        std::memcpy(path, localized, pl + cl + 2);
}

void envLocalizedPath(char *path, int len)
{
    envLocalizedPathFor(path, len, appData->languageCode);
}
