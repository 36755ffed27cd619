# Widget tests come with the program.
