// SPDX-License-Identifier: GPL-3.0-or-later
// Chinese conversions through the libraries made for them: OpenCC for scripts, phrase by phrase,
// and a pinyin dictionary of words with their frequencies for readings.
#pragma once

#include "core/text/ChineseText.h"

#include <memory>
#include <mutex>

namespace tamsel {

class LibraryChineseText final : public ChineseText {
public:
    // Where Debian's rime-data-pinyin-simp keeps its dictionary.
    static constexpr const char* DefaultDictionary = "/usr/share/rime-data/pinyin_simp.dict.yaml";

    // The libraries are opened and the dictionary read when first needed.
    explicit LibraryChineseText(QString dictionary = QString::fromLatin1(DefaultDictionary));
    ~LibraryChineseText() override;

    bool convertScript(Script script, QStringView text, QString& out) const override;
    void readWords(QStringView han, std::vector<QString>& words) const override;

private:
    struct Converters;
    struct Dictionary;
    const Converters& converters() const;
    const Dictionary& dictionary() const;

    QString m_dictionaryPath;
    mutable std::once_flag m_convertersOpened;
    mutable std::once_flag m_dictionaryRead;
    mutable std::unique_ptr<Converters> m_converters;
    mutable std::unique_ptr<Dictionary> m_dictionary;
};

} // namespace tamsel
