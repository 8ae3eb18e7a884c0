# The two commands of the README's set-up, and dist, which makes what café owners install.
# All three install what is missing first.
.PHONY: check demo deps dist

check: deps
	scripts/check

demo: deps
	scripts/demo

dist: deps
	scripts/dist

deps:
	scripts/deps
