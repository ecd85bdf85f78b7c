#include "jobs/TagQuestions.h"

using namespace Qt::StringLiterals;

QString id3ModeCaption(TagVersions mode)
{
    switch (mode) {
    case TagVersions::V1Only:
        return u"ID3 Mode : ID3v1"_s;
    case TagVersions::V2Only:
        return u"ID3 Mode : ID3v2"_s;
    case TagVersions::Both:
        return u"ID3 Mode : ID3v1 + ID3v2"_s;
    }
    return {};
}

namespace TagQuestions {

namespace {

Msg::Message yesNo(const QString &text, const QString &title, std::optional<Msg::Answer> defaultButton = {})
{
    return {text, title, Msg::Icon::Question, Msg::Buttons::YesNo, defaultButton};
}

// The question, an empty line, then the versions it touches.
QString withMode(const QString &question, TagVersions mode)
{
    return question + u"\n\n"_s + id3ModeCaption(mode);
}

} // namespace

Msg::Message fill(bool onlySelected, TagVersions mode)
{
    return yesNo(withMode(onlySelected ? u"Fill all selected tags of all selected files ?"_s
                                       : u"Fill all selected tags of all files ?"_s,
                          mode),
                 u"Fill confirmation"_s);
}

Msg::Message numberTracks(bool onlySelected, TagVersions mode)
{
    return yesNo(withMode(onlySelected ? u"Auto fill track of selected files ?"_s : u"Auto fill track of all files ?"_s,
                          mode),
                 u"Track auto fill confirmation"_s);
}

Msg::Message addTotal()
{
    return yesNo(u"Add total track to ID3v2 tag"_s, u"Track auto fill"_s);
}

Msg::Message copyOne(TagCopy copy, const QString &fileName)
{
    const QString what = copy == TagCopy::V1ToV2 ? u"Copy id3v1 to id3v2 of file : "_s : u"Copy id3v2 to id3v1 of file : "_s;
    return yesNo(what + fileName + u" ?"_s, u"ID3 copy confirmation"_s);
}

Msg::Message copyAll(TagCopy copy, bool onlySelected)
{
    const QString versions = copy == TagCopy::V1ToV2 ? u"id3v1 to id3v2 ?"_s : u"id3v2 to id3v1 ?"_s;
    return yesNo((onlySelected ? u"Copy selected files "_s : u"Copy all files "_s) + versions,
                 u"ID3 copy confirmation"_s, Msg::Answer::No);
}

Msg::Message removeOne(const QString &fileName, TagVersions mode)
{
    return yesNo(withMode(u"Delete ID3 Tag of file : "_s + fileName + u" ?"_s, mode), u"ID3 tag delete confirmation"_s);
}

Msg::Message removeAll(bool onlySelected, TagVersions mode)
{
    return yesNo(withMode(onlySelected ? u"Delete ID3 tag of selected files ?"_s : u"Delete ID3 tag of all files ?"_s,
                          mode),
                 u"ID3 tag delete confirmation"_s, Msg::Answer::No);
}

} // namespace TagQuestions
