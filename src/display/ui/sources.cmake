# Qt widgets of the plot: added with the widgets.
