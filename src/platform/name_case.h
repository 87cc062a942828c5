#pragma once
// Whether the system takes file names that differ in letter case alone for one file: Windows
// does ("Opening.wav" is "opening.wav"), Linux does not, except on file systems that ignore
// case such as FAT.
bool namesIgnoreLetterCase();
