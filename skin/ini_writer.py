"""Writes INI files that the platform's profile-string reader reads.

Files holding any text outside ASCII are UTF-16 LE with a byte-order mark, the encoding in which
that reader keeps such text intact. A value with blanks at either end is put in quotes, because
the reader removes blanks around a value but keeps those inside matching quotes.
"""


def format_value(value):
    if "\n" in value or "\r" in value:
        raise ValueError(f"INI values are single lines: {value!r}")
    if value != value.strip(" \t"):
        return f'"{value}"'
    return value


def render(sections):
    """sections: list of (section name, list of (key, value))."""
    lines = []
    for name, entries in sections:
        if lines:
            lines.append("")
        lines.append(f"[{name}]")
        seen = set()
        for key, value in entries:
            folded = key.lower()
            if folded in seen:
                raise ValueError(f"duplicate key {key} in [{name}]")
            seen.add(folded)
            lines.append(f"{key}={format_value(value)}")
    return "\r\n".join(lines) + "\r\n"


def write(path, sections, force_unicode=False):
    text = render(sections)
    if force_unicode or any(ord(ch) > 0x7F for ch in text):
        data = b"\xff\xfe" + text.encode("utf-16-le")
    else:
        data = text.encode("ascii")
    with open(path, "wb") as out:
        out.write(data)
