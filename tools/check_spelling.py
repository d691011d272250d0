#!/usr/bin/env python3
"""Checks the spelling of every English text the program shows (the English column of src/platform/texts.cpp) with
hunspell's en_US dictionary and the product words in tools/spelling_words.txt. Prints each unknown word with the text
it is in, and exits non-zero when there is one."""
import pathlib
import re
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
LITERAL = re.compile(r'"(?:[^"\\]|\\.)*"')
ENTRY = re.compile(r'\{TextId::(\w+),\s*\{(.*?)\}\},', re.S)


def columns(source):
    """Yields (text id, [column texts]) for each entry of the text table."""
    for match in ENTRY.finditer(source):
        body, pos, tokens = match.group(2), 0, []
        while pos < len(body):
            if body[pos] == '"':
                literal = LITERAL.match(body, pos)
                tokens.append(literal.group(0)[1:-1])
                pos = literal.end()
            elif body[pos] == ',':
                tokens.append(',')
                pos += 1
            else:
                pos += 1
        texts, current = [], ''
        for token in tokens:
            if token == ',':
                texts.append(current)
                current = ''
            else:
                current += token
        texts.append(current)
        yield match.group(1), texts


def words(text):
    """The words of a text as a reader sees them: no access-key ampersands, placeholders, markup or escapes."""
    text = re.sub(r'\\[nrt]', ' ', text).replace('&&', ' ').replace('&', '')
    text = re.sub(r'\{\d\}|</?link>', ' ', text)
    return re.findall(r"[A-Za-z]+(?:'[A-Za-z]+)*", text)


def unknown(word_list):
    extra = ROOT / 'tools' / 'spelling_words.txt'
    result = subprocess.run(['hunspell', '-d', 'en_US', '-p', str(extra), '-l'], input='\n'.join(word_list),
                            capture_output=True, text=True, check=True)
    return set(result.stdout.split())


def main():
    # A dictionary that knows every word would pass anything: make sure it refuses a known misspelling first.
    if 'recomended' not in unknown(['recomended']):
        print('check_spelling: hunspell with en_US does not work here', file=sys.stderr)
        return 1
    source = (ROOT / 'src' / 'platform' / 'texts.cpp').read_text(encoding='utf-8')
    english = [(text_id, texts[1]) for text_id, texts in columns(source) if len(texts) > 1]
    header = (ROOT / 'src' / 'platform' / 'texts.h').read_text(encoding='utf-8')
    ids = re.search(r'enum class TextId \{(.*?)\bCount\b', header, re.S).group(1)
    expected = len(re.findall(r'^\s*([A-Z]\w*),', ids, re.M))
    if len(english) != expected:
        print(f'check_spelling: read {len(english)} English texts, but TextId has {expected}', file=sys.stderr)
        return 1
    bad = unknown([w for _, text in english for w in words(text)])
    status = 0
    for text_id, text in english:
        for word in sorted(set(words(text)) & bad):
            print(f'{text_id}: "{word}" in "{text}"')
            status = 1
    print(f'check_spelling: {len(english)} English texts, {len(bad)} unknown words')
    return status


if __name__ == '__main__':
    sys.exit(main())
