// The checker's texts in its two languages. Chinese is the default on a system whose
// ANSI code page is 936; English otherwise or on request. Both forms of a text take
// the same arguments in the same order.
#pragma once

#include <string>

enum class Language { English, Chinese };

enum class TextId {
    Utf8Bom,
    Utf8,
    Utf16,
    NotGbk,
    NulByte,
    NoEquals,
    BeforeSection,
    RepeatedSection,
    UnknownSection,
    HeaderNotEntry,
    ModeValue,
    RepeatedKey,
    KeyEmpty,
    KeyTooLong,
    KeyNotTypable,
    KeyBlanks,
    KeyBracket,
    CommentEntry,
    FieldsMissing,
    FieldsExtra,
    FieldEmpty,
    NoButton,
    ScopeMismatch,
    ValueTooLong,
    UnknownButton,
    GlobalHidesCustom,
    ModuleOverrides,
    ImmediateBlocked,
    ImmediateBlockedInModule,
    FieldCode,
    FieldButton,
    FieldDescription,
    FieldScope,
    FieldSection,
    SummaryClean,
    SummaryFindings,
    Unreadable,
    MenusUnreadable,
    NoMenuFiles,
    ModuleHeading,
    ModeSpace,
    ModeImmediate,
    ModeUnknown,
    MacroNote,
    ButtonsSummary,
    Usage,
    Help,
};

Language DefaultLanguage(); // by the system's ANSI code page

// The text's printf format in the given language.
const char* Text(Language language, TextId id);

// printf into a string, for the texts above.
std::string Format(const char* format, ...);

// The system's text for an error code, in English when the messages are (where the
// system has it), without its final full stop.
std::string SystemMessage(unsigned long error, Language language);
