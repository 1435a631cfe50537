"""Draws the skin: dist/Skins (skin files, state sheets, panel bitmaps, language file, colour
template), dist/Help/index.html, an empty dist/Package folder and the three program icons.

    generate.py --dist <dist folder> --generated <folder for files compiled into the program>
"""
import argparse
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import colour_template  # noqa: E402
import dialogs  # noqa: E402
import icons  # noqa: E402
import language  # noqa: E402
import main_window  # noqa: E402
import panel_bitmaps  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--dist", required=True)
    parser.add_argument("--generated", required=True)
    args = parser.parse_args()

    skins = os.path.join(args.dist, "Skins")
    help_dir = os.path.join(args.dist, "Help")
    for folder in (skins, help_dir, os.path.join(args.dist, "Package")):
        os.makedirs(folder, exist_ok=True)

    main_window.write(skins)
    panel_bitmaps.write(skins)
    dialogs.write(skins)
    language.write(skins)
    colour_template.write(skins)
    shutil.copyfile(os.path.join(HERE, "help", "index.html"), os.path.join(help_dir, "index.html"))
    icons.write(os.path.join(args.generated, "icons"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
