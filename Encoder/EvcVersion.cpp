// evc is built in this folder.
