#!/usr/bin/env python3
"""Prints every text of DXF files, one per line, after an audit without errors.

Usage: dxf_texts.py FILE.dxf... ; each file's texts follow a line "== FILE".
Texts of all blocks count, since the sheets draw their frame as a block.
"""
import sys

import ezdxf


def main(paths):
    status = 0
    for path in paths:
        doc = ezdxf.readfile(path)
        auditor = doc.audit()
        if auditor.has_errors:
            print("audit errors in", path, file=sys.stderr)
            status = 1
        print("== " + path)
        layouts = [doc.modelspace()] + [b for b in doc.blocks]
        for layout in layouts:
            for e in layout:
                if e.dxftype() == "TEXT":
                    print(e.dxf.text)
                elif e.dxftype() == "MTEXT":
                    print(e.plain_text())
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
