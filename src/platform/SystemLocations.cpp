// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SystemLocations.h"

#include <fontconfig/fontconfig.h>

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#include "app/Startup.h"
#include "base/Paths.h"
#include "platform/Text.h"
#include "rom/Checksum.h"

namespace kestro::platform {

int KatakanaFaceScore(const QString& family, int spacing) {
    // A fixed-pitch gothic face is closest to the half-width font the titles
    // were made for ("IPAGothic", not the proportional "IPAPGothic").
    int score = 0;
    if (family.contains(QStringLiteral("Gothic"), Qt::CaseInsensitive)) score += 2;
    if (spacing >= FC_DUAL) score += 1;
    return score;
}

KatakanaFontFile FindKatakanaFont() {
    KatakanaFontFile result;
    FcConfig* config = FcInitLoadConfigAndFonts();
    FcPattern* pattern = FcPatternCreate();
    FcCharSet* charset = FcCharSetCreate();
    FcCharSetAddChar(charset, 0xFF71);  // HALFWIDTH KATAKANA LETTER A
    FcPatternAddCharSet(pattern, FC_CHARSET, charset);
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, FC_FAMILY, FC_SPACING, nullptr);
    FcFontSet* fonts = FcFontList(config, pattern, objects);
    int best = -1;
    int bestScore = -1;
    for (int i = 0; fonts != nullptr && i < fonts->nfont; ++i) {
        FcChar8* family = nullptr;
        FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family);
        const QString name = family ? QString::fromUtf8(reinterpret_cast<const char*>(family)) : QString();
        int spacing = FC_PROPORTIONAL;
        FcPatternGetInteger(fonts->fonts[i], FC_SPACING, 0, &spacing);
        const int score = KatakanaFaceScore(name, spacing);
        if (score > bestScore) {
            best = i;
            bestScore = score;
        }
    }
    if (best >= 0) {
        FcChar8* file = nullptr;
        FcChar8* family = nullptr;
        FcPatternGetString(fonts->fonts[best], FC_FILE, 0, &file);
        FcPatternGetString(fonts->fonts[best], FC_FAMILY, 0, &family);
        const std::string path = reinterpret_cast<const char*>(file);
        result.directory = base::DirectoryOf(path);
        result.fileName = base::FileNameOf(path);
        result.family = QString::fromUtf8(reinterpret_cast<const char*>(family));
    } else {
        // The font the setup installs (Debian's fonts-ipafont-gothic), and the
        // per-user font folder where a copy would be found.
        result.fileName = "ipag.ttf";
        result.directory = base::WithTrailingSeparator(U8(QDir::homePath())) + ".local/share/fonts/";
    }
    if (fonts) FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcCharSetDestroy(charset);
    FcPatternDestroy(pattern);
    FcConfigDestroy(config);
    return result;
}

void FillSystemLocations(base::MemoryRegistryBackend& registry, const KatakanaFontFile& font) {
    // The installed library directory stands in for the Windows directory.
    const QString libraryDir =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/" KESTRO_LIBDIR_FROM_BINDIR));
    registry.SetText(base::HKEY_LOCAL_MACHINE_, app::kWindowsDirKey, app::kWindowsDirValue, U8(libraryDir));
    registry.SetText(base::HKEY_USERS_, app::kFontsDirKey, app::kFontsDirValue, font.directory);
}

std::string ProgramDirectory() {
    return U8(QCoreApplication::applicationDirPath());
}

bool LoadChecksumLibrary(const std::string& path, QString* error) {
    // The library stays loaded for the whole run.
    auto* library = new QLibrary(Q(path));
    auto fn = reinterpret_cast<GetVbRomChecksumFn>(library->resolve("GetVbRomChecksum"));
    if (fn == nullptr) {
        if (error) *error = library->errorString();
        delete library;
        return false;
    }
    rom::SetChecksumFunction(fn);
    return true;
}

}  // namespace kestro::platform
