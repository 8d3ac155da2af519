// The message template and the Russian catalogue against the sources: no message id may be
// missing from either, and the catalogue must compile cleanly with correct plural forms.

#include "Shell.h"

#include <gtest/gtest.h>

namespace {

const std::string kPoDir = std::string(NORVA_SOURCE_DIR) + "/po";
const std::string kTemplate = kPoDir + "/norva-snapshots-manager.pot";
const std::string kRussian = kPoDir + "/ru.po";

// Extracts the sources' message ids afresh into a temporary template and runs `check` with
// $fresh naming it.
ShellResult withFreshTemplate(const std::string& check)
{
    return runShell("fresh=$(mktemp --suffix=.pot) && " + shellQuote(NORVA_EXTRACT_MESSAGES) +
                    " \"$fresh\" && { " + check + "; }; status=$?; rm -f \"$fresh\"; exit $status");
}

TEST(MessageCatalogue, TemplateHoldsEveryMessageIdOfTheSources)
{
    const ShellResult compared =
        withFreshTemplate("msgcmp --use-untranslated " + shellQuote(kTemplate) + " \"$fresh\"");
    EXPECT_EQ(compared.status, 0) << "po/norva-snapshots-manager.pot is behind the sources; "
                                     "rebuild it with the `pot` target\n"
                                  << compared.err;
}

TEST(MessageCatalogue, TemplateHoldsNoIdTheSourcesDropped)
{
    const ShellResult compared =
        withFreshTemplate("msgcmp --use-untranslated \"$fresh\" " + shellQuote(kTemplate));
    EXPECT_EQ(compared.status, 0) << compared.err;
}

TEST(MessageCatalogue, SourcesPassTheRunLockMessageToGettext)
{
    const ShellResult found =
        withFreshTemplate("msgcat --no-wrap \"$fresh\" | grep -F -x 'msgid \"Another "
                          "norva-snapshots-manager run is still in progress; nothing "
                          "was changed.\"'");
    EXPECT_EQ(found.status, 0);
}

TEST(MessageCatalogue, RussianCatalogueTranslatesEveryIdOfTheSources)
{
    // Without --use-untranslated an empty or fuzzy translation counts as missing.
    const ShellResult compared =
        withFreshTemplate("msgcmp " + shellQuote(kRussian) + " \"$fresh\"");
    EXPECT_EQ(compared.status, 0) << compared.err;
    const ShellResult unfinished =
        runShell("msgattrib --only-fuzzy --no-obsolete " + shellQuote(kRussian) +
                 " && msgattrib --untranslated " + shellQuote(kRussian));
    EXPECT_EQ(unfinished.status, 0) << unfinished.err;
    EXPECT_EQ(unfinished.out, "");
}

TEST(MessageCatalogue, RussianCatalogueCompilesWithItsChecks)
{
    const ShellResult compiled =
        runShell("msgfmt --check --statistics -o /dev/null " + shellQuote(kRussian));
    EXPECT_EQ(compiled.status, 0) << compiled.err;
    EXPECT_EQ(compiled.err.find("fuzzy"), std::string::npos) << compiled.err;
    EXPECT_EQ(compiled.err.find("untranslated"), std::string::npos) << compiled.err;
}

TEST(MessageCatalogue, RussianCatalogueHasRussianPluralFormsAndUtf8)
{
    // msgexec hands every message to the command; the header is the one with an empty id.
    const ShellResult header =
        runShell("msgexec -i " + shellQuote(kRussian) +
                 " sh -c 'if [ -z \"$MSGEXEC_MSGID\" ]; then cat; else cat >/dev/null; fi'");
    ASSERT_EQ(header.status, 0) << header.err;
    const std::string plural = "Plural-Forms: nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : "
                               "n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2);";
    EXPECT_NE(header.out.find(plural), std::string::npos) << header.out;
    EXPECT_NE(header.out.find("Content-Type: text/plain; charset=UTF-8"), std::string::npos);
    EXPECT_NE(header.out.find("Language: ru"), std::string::npos);
}

} // namespace
