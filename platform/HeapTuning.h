#pragma once

// Large lists are hundreds of thousands of small objects. Memory that a big command frees (an
// undo, a delete) stays with the program for the next one instead of going back to the system,
// where taking it again costs a page fault per page. Called once at start.
void KeepFreedMemory();
