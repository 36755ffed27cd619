# widget tests: added with the widgets
