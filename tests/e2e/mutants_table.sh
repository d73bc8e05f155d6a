#!/usr/bin/env bash
# The planted-fault table of scripts/mutants.sh still fits the tree: it parses, and every original text occurs
# exactly once in its file. (The mutation run itself is too slow for the ordinary suite.)
set -u
exec bash "$2/scripts/mutants.sh" --check
